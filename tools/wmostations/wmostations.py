#!/usr/bin/env python3
"""Writes src/gateway/data/wmo-stations.tsv: for each WMO station number of the location
catalogue, the METAR station of weather-util-data that reports for that place.

Run once by hand when one of the inputs changes (see README.md for where they come from):

    tools/wmostations/wmostations.py NSD_CCCC.TXT ISD_HISTORY.CSV > src/gateway/data/wmo-stations.tsv

The catalogue (src/locations/data/stations.tsv) and the station table of weather-util-data
(/usr/share/weather-util/stations.gz) are read from their usual places. Only Python's standard
library is used. A summary goes to standard error.
"""

import csv
import gzip
import math
import re
import sys
import unicodedata
from collections import defaultdict
from pathlib import Path

HERE = Path(__file__).resolve().parent
CATALOGUE = HERE.parent.parent / "src/locations/data/stations.tsv"
WEATHER_UTIL = Path("/usr/share/weather-util/stations.gz")

# How far the chosen METAR station may lie from the WMO station's position. The catalogue's
# numbered stations are mostly the synoptic station of a town; a METAR station within 25 km is
# the town's own airfield or its neighbour on the same plain or coast. Farther out (the next
# town's airport, across a range or out to sea) its weather is another place's.
REACH_KM = 25.0
# How far a station of the same ICAO code may lie from the WMO position before the two are
# taken for different sites (a code moved to a new airport, a mistyped position).
SAME_SITE_KM = 10.0

# Words that say what kind of site a name is, not which place.
SITE_WORDS = {"int", "intl", "international", "arpt", "airport", "aerodrome", "aero", "ap",
              "a", "aws", "auto", "aut", "amo", "rcs", "cs", "climate", "mil", "ab", "afb",
              "airfield", "field", "apt", "asa", "mo", "po", "post", "office", "comparison"}
# Short forms the NOAA lists write for whole words.
WORD_FORMS = {"st": "saint", "ste": "sainte", "mt": "mount", "ft": "fort", "pt": "point",
              "pte": "pointe", "is": "island", "isl": "island", "i": "island", "c": "cape",
              "hbr": "harbour", "harbor": "harbour", "r": "river", "l": "lake", "gen": "general",
              # English names of places the lists write in the local language
              "munich": "munchen", "cologne": "koln", "vienna": "wien", "milan": "milano",
              "turin": "torino", "venice": "venezia", "naples": "napoli", "florence": "firenze",
              "rome": "roma", "genoa": "genova", "nuremberg": "nurnberg", "zurich": "zurich",
              "bucharest": "bucuresti", "lisbon": "lisboa", "prague": "praha",
              "warsaw": "warszawa", "copenhagen": "kobenhavn", "athens": "athinai",
              "moscow": "moskva", "belgrade": "beograd", "brussels": "bruxelles",
              "geneva": "geneve", "antwerp": "antwerpen", "gothenburg": "goteborg",
              "seville": "sevilla", "cusco": "cuzco", "dombaas": "dombas", "setar": "star"}
# Catalogue names the NOAA lists write otherwise; each pair checked by hand (the station named
# on the right is the place on the left, or its airport).
SAME_PLACE = {
    ("Trivandrum", "thiruvananthapuram"),
    ("Bombay", "mumbai"),
    ("Calcutta", "kolkata"),
    ("Madras", "chennai"),
    ("Kuala Lumpur", "sepang"),         # KL International at Sepang
    ("Newcastle", "williamtown"),       # Newcastle Airport, NSW
    ("U Tapao", "sattahip"),            # U-Tapao airfield at Sattahip
    ("Cubi Point", "subic bay"),        # Cubi Point lies on Subic Bay
    ("Kuala Terengganu", "sultan mahmud"),
    ("San Jose", "juan santamaria"),    # San Jose's airport, Costa Rica
    ("Roissy", "charles de gaulle"),    # Paris-Charles de Gaulle lies at Roissy
    ("Mexico City", "internacional mexico"),
    ("Panama", "tocumen"),              # Panama City's airport
    ("Bridgetown", "grantley adams"),   # Barbados
    ("St Johns", "vc bird"),            # Antigua
    ("Hamilton", "bermuda"),
    ("George Town", "owen roberts"),    # Grand Cayman
    ("Belize City", "belize"),
}


def plain(text):
    """Lower case ASCII words: accents dropped, punctuation as spaces, short forms written out."""
    text = unicodedata.normalize("NFD", text)
    text = "".join(c for c in text if unicodedata.category(c) != "Mn").lower()
    words = re.sub(r"[^a-z0-9]+", " ", text.replace("'", "")).split()
    # Umlauts written out ("Muenchen", "Zuerich", "Dombaas") read as the plain vowel.
    words = [re.sub(r"([aou])e", r"\1", w) if len(w) > 4 else w for w in words]
    return [WORD_FORMS.get(w, w) for w in words]


def names_agree(city, noaa_names):
    """True when one of the NOAA names is the catalogue city: every word of the city (site words
    aside) is a word of the NOAA name, or the city written without spaces is part of it."""
    wanted = [w for w in plain(city) if w not in SITE_WORDS]
    if not wanted:
        return False
    joined = "".join(wanted)
    for name in noaa_names:
        words = plain(name)
        text = " ".join(words)
        if all(w in words for w in wanted):
            return True
        if len(joined) >= 5 and joined in "".join(words):
            return True
        if any(city == c and alias in text for c, alias in SAME_PLACE):
            return True
    return False


def degrees(text):
    """"09-25S", "160-03E", "51-28-39N" -> signed degrees; None for anything else."""
    m = re.fullmatch(r"(\d+)-(\d+)(?:-(\d+))?([NSEW])", text.strip())
    if not m:
        return None
    value = int(m[1]) + int(m[2]) / 60 + int(m[3] or 0) / 3600
    return -value if m[4] in "SW" else value


def km(a, b):
    la1, lo1, la2, lo2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((la2 - la1) / 2) ** 2 + math.cos(la1) * math.cos(la2) * math.sin((lo2 - lo1) / 2) ** 2
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(h)))


def read_catalogue():
    rows = []
    for line in CATALOGUE.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        group, lst, city, number = line.split("\t")
        if re.fullmatch(r"\d{5}", number):
            rows.append((number, lst, city))
    return rows


def read_nsd(path):
    """WMO number -> [(icao, name, country, (lat, lon) or None)]."""
    by_number = defaultdict(list)
    with open(path, encoding="latin-1") as f:
        for line in f:
            f_ = line.rstrip("\r\n").split(";")
            if len(f_) < 9 or not re.fullmatch(r"\d\d", f_[1]) or not re.fullmatch(r"\d\d\d", f_[2]):
                continue
            lat, lon = degrees(f_[7]), degrees(f_[8])
            by_number[f_[1] + f_[2]].append(
                (f_[0].strip().upper(), f_[3].strip(), f_[5].strip(),
                 (lat, lon) if lat is not None and lon is not None else None))
    return by_number


def read_isd(path):
    """WMO number -> [(icao, name, (lat, lon) or None, end date)] for the USAF ids that are a WMO
    number followed by 0 (WBAN 99999)."""
    by_number = defaultdict(list)
    with open(path, newline="", encoding="latin-1") as f:
        for r in csv.DictReader(f):
            usaf = r["USAF"]
            if r["WBAN"] != "99999" or not re.fullmatch(r"\d{5}0", usaf):
                continue
            position = None
            try:
                lat, lon = float(r["LAT"]), float(r["LON"])
                if (lat, lon) != (0.0, 0.0) and abs(lat) <= 90 and abs(lon) <= 180:
                    position = (lat, lon)
            except ValueError:
                pass
            by_number[usaf[:5]].append((r["ICAO"].strip().upper(), r["STATION NAME"].strip(),
                                        position, r["END"]))
    return by_number


def read_weather_util():
    """ICAO -> ((lat, lon), description) for each station of the table with a position."""
    stations = {}
    icao = None
    with gzip.open(WEATHER_UTIL, "rt", encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("["):
                icao = line[1:line.find("]")].upper()
                stations[icao] = [None, ""]
            elif icao and line.startswith("description = "):
                stations[icao][1] = line[len("description = "):]
            elif icao and line.startswith("location = "):
                m = re.fullmatch(r"location = \(([-\d.]+), ([-\d.]+)\)", line)
                if m:
                    stations[icao][0] = (math.degrees(float(m[1])), math.degrees(float(m[2])))
    return {k: (v[0], v[1]) for k, v in stations.items() if len(k) == 4 and v[0] is not None}


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: wmostations.py NSD_CCCC.TXT ISD_HISTORY.CSV > wmo-stations.tsv")
    nsd = read_nsd(sys.argv[1])
    isd = read_isd(sys.argv[2])
    metar = read_weather_util()
    out = []
    counts = defaultdict(int)
    for number, lst, city in read_catalogue():
        n_rows, i_rows = nsd.get(number, []), isd.get(number, [])
        names = [r[1] for r in n_rows] + [r[1] for r in i_rows]
        if not names:
            counts["number not in either list"] += 1
            continue
        # Only the records that name the place: a number the catalogue chose freely (see its
        # header) names another place, and a number reused over the years names several.
        n_rows = [r for r in n_rows if names_agree(city, [r[1]])]
        i_rows = [r for r in i_rows if names_agree(city, [r[1]])]
        if not n_rows and not i_rows:
            counts["number names another place"] += 1
            print(f"  other place: {city} ({lst}) {number} is {names[0]}", file=sys.stderr)
            continue
        names = [r[1] for r in n_rows] + [r[1] for r in i_rows]
        # The WMO station's position: the ISD one (three decimals, the latest record first),
        # else the NSD one (whole minutes).
        positions = [r[2] for r in sorted(i_rows, key=lambda r: r[3], reverse=True) if r[2]]
        positions += [r[3] for r in n_rows if r[3]]
        where = positions[0] if positions else None
        choice = None
        for how, icaos in (("wmo", [r[0] for r in n_rows]), ("isd", [r[0] for r in i_rows])):
            for icao in icaos:
                if icao not in metar:
                    continue
                distance = km(where, metar[icao][0]) if where else 0.0
                if distance <= SAME_SITE_KM:
                    choice = (icao, how, distance)
                    break
            if choice:
                break
        if not choice and where:
            icao = min(metar, key=lambda k: km(where, metar[k][0]))
            distance = km(where, metar[icao][0])
            if distance <= REACH_KM:
                choice = (icao, "nearest", distance)
        if not choice:
            counts["no METAR station within reach" if where else "no position"] += 1
            continue
        counts[choice[1]] += 1
        out.append((number, choice[0], choice[1], f"{choice[2]:.1f}", city, names[0],
                    metar[choice[0]][1]))
    out.sort()
    print("# WMO station numbers of the location catalogue and the METAR station reporting for "
          "each place.")
    print("# Written by tools/wmostations/wmostations.py; see tools/wmostations/README.md.")
    print("# number<TAB>icao<TAB>how<TAB>km<TAB>catalogue city<TAB>WMO station name<TAB>METAR "
          "station")
    print("# how: wmo = NOAA's station list gives this ICAO for the number; isd = NCEI's ISD "
          "history does;")
    print(f"# nearest = the nearest METAR station to the WMO station's position, at most "
          f"{REACH_KM:.0f} km. km: the distance between the two.")
    for row in out:
        print("\t".join(row))
    print(f"{len(out)} rows of {len(read_catalogue())} catalogue numbers", file=sys.stderr)
    for k, v in sorted(counts.items()):
        print(f"  {k}: {v}", file=sys.stderr)


if __name__ == "__main__":
    main()
