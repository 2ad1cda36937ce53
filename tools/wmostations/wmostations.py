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
TREE = HERE.parent.parent / "src/locations/data/tree_foreign.txt"
WEATHER_UTIL = Path("/usr/share/weather-util/stations.gz")

# How far the chosen METAR station may lie from the WMO station's position. The catalogue's
# numbered stations are mostly the synoptic station of a town; a METAR station within 25 km is
# the town's own airfield or its neighbour on the same plain or coast. Up to 50 km it is mostly
# the airport the town flies from (Kanazawa's Komatsu, Morioka's Hanamaki, Durban's King
# Shaka), but only one of the same country's network (NEAR_KM): Garmisch is not Innsbruck.
# Farther out its weather is another place's.
NEAR_KM = 25.0
REACH_KM = 50.0
# How far a station of the same ICAO code may lie from the WMO position before the two are
# taken for different sites (a code moved to a new airport, a mistyped position).
SAME_SITE_KM = 10.0
# How much higher or lower the METAR station may lie than the place: 300 m is about 2 degrees C
# at the usual lapse rate. A summit station (Paganella above Trento, Mount Lofty above
# Adelaide's airport) reports another climate.
MAX_CLIMB_M = 300.0

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
              "rome": "roma", "genoa": "genova", "nuremberg": "nurnberg",
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


def metres(text):
    """An elevation in metres, None when not given."""
    try:
        value = float(text)
    except ValueError:
        return None
    return value if -500 < value < 9000 else None


def km(a, b):
    la1, lo1, la2, lo2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((la2 - la1) / 2) ** 2 + math.cos(la1) * math.cos(la2) * math.sin((lo2 - lo1) / 2) ** 2
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(h)))


def read_catalogue():
    """(number, list, city) of each catalogue row the program can reach: its city is a city of
    the location tree, and when a list holds one city name twice the first row wins."""
    tree_cities = {line.strip().replace("_", " ")
                   for line in TREE.read_text(encoding="utf-8").splitlines()
                   if line.startswith("\t\t\t")}
    rows = []
    seen = set()
    for line in CATALOGUE.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        group, lst, city, number = line.split("\t")
        if re.fullmatch(r"\d{5}", number) and (lst, city) not in seen and city in tree_cities:
            rows.append((number, lst, city))
        seen.add((lst, city))
    return rows


def read_nsd(path):
    """WMO number -> [(icao, name, country, (lat, lon) or None, elevation)]."""
    by_number = defaultdict(list)
    with open(path, encoding="latin-1") as f:
        for line in f:
            f_ = line.rstrip("\r\n").split(";")
            if len(f_) < 9 or not re.fullmatch(r"\d\d", f_[1]) or not re.fullmatch(r"\d\d\d", f_[2]):
                continue
            lat, lon = degrees(f_[7]), degrees(f_[8])
            by_number[f_[1] + f_[2]].append(
                (f_[0].strip().upper(), f_[3].strip(), f_[5].strip(),
                 (lat, lon) if lat is not None and lon is not None else None,
                 metres(f_[11]) if len(f_) > 11 else None))
    return by_number


# Words an NCEI station name may add to the place name and still name that place's station:
# kinds of site, automatic-station tags and provinces ("ATHABASCA AGCM", "HOPE (AUT)  BC").
NAME_TAILS = SITE_WORDS | {"agcm", "agdm", "cda", "maps", "readac", "autob", "mars", "lo", "ua",
                           "muni", "mun", "raaf", "ii", "iii", "man", "bc", "alta", "sask", "ont",
                           "que", "nfld", "ns", "nb", "pei", "nwt", "nu", "yt", "nl", "qc", "on",
                           "sk", "mb", "nt", "pe", "aerodrome", "airport"}


def named_station(city, block, records):
    """(position, elevation, name) of the place `city` by the station names of NCEI's list: the stations of the
    countries of WMO block `block` whose name is the city's name with at most site words added.
    None unless exactly one site (all within REACH_KM of each other) carries the name."""
    wanted = [w for w in plain(city) if w not in SITE_WORDS]
    if not wanted:
        return None
    found = []
    for name, position, end, height in records.get(block, []):
        words = plain(name)
        if words[:len(wanted)] == wanted and all(
                w in NAME_TAILS or w.isdigit() for w in words[len(wanted):]):
            found.append((end, position, height, name))
    if not found or any(km(a[1], b[1]) > REACH_KM for a in found for b in found):
        return None
    return max(found)[1:]


def read_isd_by_block(path):
    """WMO block -> [(name, (lat, lon), end date, elevation)]: every station of NCEI's list still reporting
    after 2000 with a position, under each block its country's WMO stations use."""
    rows = []
    with open(path, newline="", encoding="latin-1") as f:
        rows = list(csv.DictReader(f))
    # A country uses a block when it holds at least two of its WMO stations (one stray record
    # puts an Alaskan station in Canada's block 71).
    in_block = defaultdict(lambda: defaultdict(int))
    for r in rows:
        if r["WBAN"] == "99999" and re.fullmatch(r"\d{5}0", r["USAF"]) and r["CTRY"]:
            in_block[r["USAF"][:2]][r["CTRY"]] += 1
    blocks_of_country = defaultdict(set)
    for block, countries in in_block.items():
        for country, count in countries.items():
            if count >= 2:
                blocks_of_country[country].add(block)
    by_block = defaultdict(list)
    for r in rows:
        try:
            position = (float(r["LAT"]), float(r["LON"]))
        except ValueError:
            continue
        if position == (0.0, 0.0) or r["END"] < "20000101" or not r["CTRY"]:
            continue
        for block in blocks_of_country.get(r["CTRY"], ()):
            by_block[block].append((r["STATION NAME"], position, r["END"], metres(r["ELEV(M)"])))
    return by_block


def read_isd(path):
    """WMO number -> [(icao, name, (lat, lon) or None, end date, elevation)] for the USAF ids
    that are a WMO number followed by 0 (WBAN 99999)."""
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
                                        position, r["END"], metres(r["ELEV(M)"])))
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


def metar_heights(nsd, isd):
    """ICAO -> elevation of the METAR stations, from either list."""
    heights = {}
    for rows in isd.values():
        for icao, _, _, _, height in rows:
            if icao and height is not None:
                heights[icao] = height
    for rows in nsd.values():
        for icao, _, _, _, height in rows:
            if height is not None:
                heights[icao] = height
    return heights


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: wmostations.py NSD_CCCC.TXT ISD_HISTORY.CSV > wmo-stations.tsv")
    nsd = read_nsd(sys.argv[1])
    isd = read_isd(sys.argv[2])
    metar = read_weather_util()
    heights = metar_heights(nsd, isd)
    by_block = read_isd_by_block(sys.argv[2])
    catalogue = read_catalogue()
    # The ICAO prefixes of each WMO block's network: those of at least two of its stations.
    prefix_counts = defaultdict(lambda: defaultdict(int))
    for number, rows in nsd.items():
        for row in rows:
            prefix_counts[number[:2]][row[0][:2]] += 1
    prefixes = {block: {p for p, n in per_prefix.items() if n >= 2}
                for block, per_prefix in prefix_counts.items()}
    out = []
    counts = defaultdict(int)

    def nearest(where, height, block):
        """The METAR station nearest `where` within NEAR_KM, or within REACH_KM when its ICAO
        code has a prefix of block `block`'s network; not when it lies MAX_CLIMB_M higher or
        lower (when both heights are known). Else None."""
        network = prefixes.get(block, set())
        distances = {k: km(where, metar[k][0]) for k in metar}
        allowed = [k for k, d in distances.items()
                   if d <= NEAR_KM or (d <= REACH_KM and k[:2] in network)]
        if not allowed:
            counts["no METAR station within reach"] += 1
            return None
        icao = min(allowed, key=distances.get)
        distance = distances[icao]
        if height is not None and icao in heights and abs(heights[icao] - height) > MAX_CLIMB_M:
            counts["nearest METAR station higher or lower"] += 1
            return None
        return icao, distance

    def add(number, icao, how, distance, city, name):
        counts[how] += 1
        out.append((number, icao, how, f"{distance:.1f}", city, name, metar[icao][1]))

    for number, lst, city in catalogue:
        n_rows, i_rows = nsd.get(number, []), isd.get(number, [])
        # Only the records that name the place: a number the catalogue chose freely (see its
        # header) names another place, and a number reused over the years names several.
        n_rows = [r for r in n_rows if names_agree(city, [r[1]])]
        i_rows = [r for r in i_rows if names_agree(city, [r[1]])]
        if not n_rows and not i_rows:
            # Then the place is looked for by its name among NCEI's stations.
            named = named_station(city, number[:2], by_block)
            found = nearest(named[0], named[1], number[:2]) if named else None
            if found:
                add(number, found[0], "byname", found[1], city, named[2])
            elif not named:
                counts["no WMO station of the number or the name"] += 1
            continue
        names = [r[1] for r in n_rows] + [r[1] for r in i_rows]
        # The WMO station's position and height: the ISD one (three decimals, the latest record
        # first), else the NSD one (whole minutes).
        sites = [(r[2], r[4]) for r in sorted(i_rows, key=lambda r: r[3], reverse=True) if r[2]]
        sites += [(r[3], r[4]) for r in n_rows if r[3]]
        where, height = sites[0] if sites else (None, None)
        choice = None
        for how, icaos in (("wmo", [r[0] for r in n_rows]), ("isd", [r[0] for r in i_rows])):
            for icao in icaos:
                if icao in metar and (not where or km(where, metar[icao][0]) <= SAME_SITE_KM):
                    choice = (icao, how, km(where, metar[icao][0]) if where else 0.0)
                    break
            if choice:
                break
        if choice:
            add(number, choice[0], choice[1], choice[2], city, names[0])
        elif where:
            found = nearest(where, height, number[:2])
            if found:
                add(number, found[0], "nearest", found[1], city, names[0])
        else:
            counts["no position"] += 1
    out.sort()
    print("# WMO station numbers of the location catalogue and the METAR station reporting for "
          "each place.")
    print("# Written by tools/wmostations/wmostations.py from NOAA's lists; see "
          "tools/wmostations/README.md.")
    print("# number<TAB>icao<TAB>how<TAB>km<TAB>catalogue city<TAB>NOAA station name<TAB>"
          "METAR station (weather-util-data)")
    print("# how: wmo = NOAA's nsd_cccc.txt gives the WMO station this ICAO code; isd = NCEI's "
          "isd-history.csv does;")
    print(f"#   nearest = the METAR station nearest the WMO station: at most {NEAR_KM:.0f} km "
          f"away, or {REACH_KM:.0f} km in the same country's network, and at most "
          f"{MAX_CLIMB_M:.0f} m higher or lower;")
    print("#   byname = the number names another place; the same, from the NCEI station "
          "of the place's name.")
    print("# km: the distance between the NOAA station and the METAR station.")
    for row in out:
        print("\t".join(row))
    print(f"{len(out)} rows for {len(catalogue)} catalogue numbers", file=sys.stderr)
    for k, v in sorted(counts.items()):
        print(f"  {k}: {v}", file=sys.stderr)


if __name__ == "__main__":
    main()
