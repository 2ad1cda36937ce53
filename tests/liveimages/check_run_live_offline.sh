#!/usr/bin/env bash
# `scripts/run --live --offline` end to end under Xvfb with the programs already built: the fake
# upstream with its sample folder, the gateway with the shipped table, and the program. Checks the
# main window's title, the wallpaper bitmap made from the North Texas loop (its size: the loop's
# frame with the image window's margin; the script itself checks its colour), the image window's
# picture of the loop and of the converted map, and the fake upstream's log of the gateway's
# fetches.
# Usage: check_run_live_offline.sh <source-dir> <build-dir>
# Exits 77 (skipped) when Xvfb, an X tool or weather-util-data is missing.
set -euo pipefail
src=$1
build=$2

for tool in Xvfb xwininfo xdpyinfo gsettings od; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done
[ -f /usr/share/weather-util/stations.gz ] || { echo "SKIP: weather-util-data is not installed"; exit 77; }

out=$(mktemp -d /tmp/cirrolux-liveoffline.XXXXXX)
trap 'rm -rf "$out"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

status=0
env -u DISPLAY -u WAYLAND_DISPLAY CIRROLUX_BUILD_DIR="$build" CIRROLUX_RUN_NO_SETUP=1 \
    CIRROLUX_GATEWAY_PORT=0 CIRROLUX_GATEWAY_ARGS= CIRROLUX_REFRESH_SECONDS=8 \
    "$src/scripts/run" --live --offline "$out/shots/cirrolux.png" >"$out/run.log" 2>&1 || status=$?
cat "$out/run.log"
[ "$status" -eq 0 ] || fail "scripts/run --live --offline ended with status $status"

shots=$out/shots
expect_line() { grep -qxF "$1" "$out/run.log" || fail "no line \"$1\""; }
expect_line "Main window: Cirrolux - Boston, MA"
expect_line "radar.weather.gov/ridge/standard/KFWS_loop.gif: North Texas radar loop (KFWS), 6 frames of 600 x 550, GIF"
expect_line "The wallpaper is the North Texas loop fetched through the gateway: $shots/wallpaper.bmp"
grep -qE '^North Texas radar through 127\.0\.0\.1:[0-9]+: "Cirrolux - Texas - North Radar - Courtesy of WeatherBank, Inc\.", 6 frame\(s\) of 600 x 550$' \
    "$out/run.log" || fail "the image window did not show the 6-frame North Texas loop"
grep -qE '^Monthly precipitation through 127\.0\.0\.1:[0-9]+: "Cirrolux - US Monthly Precipitation - Purdue", 1 frame\(s\) of 720 x 540$' \
    "$out/run.log" || fail "the image window did not show the converted map"

# The wallpaper: the 600 x 550 frame with the image window's 10-pixel side margin and its bars.
if [ -f "$shots/wallpaper.bmp" ]; then
    width=$(od -An -tu4 -j 18 -N4 "$shots/wallpaper.bmp" | tr -d ' ')
    height=$(od -An -tu4 -j 22 -N4 "$shots/wallpaper.bmp" | tr -d ' ')
    [ "$width" -eq 610 ] || fail "the wallpaper is $width pixels wide, not 610"
    { [ "$height" -ge 550 ] && [ "$height" -le 600 ]; } || fail "the wallpaper is $height pixels high"
else
    fail "no wallpaper.bmp"
fi
for picture in cirrolux.png radar-window.png precipitation-window.png; do
    [ "$(od -An -tx1 -N4 "$shots/$picture" 2>/dev/null | tr -d ' ')" = 89504e47 ] ||
        fail "$picture is not a PNG picture"
done

# Fetched once each through the gateway: the observation, the loop and the map.
for path in /data/observations/metar/stations/KBOS.TXT /radar.weather.gov/ridge/standard/KFWS_loop.gif \
            /hprcc.unl.edu/products/maps/acis/30dPNormUS.png; do
    grep -qxF "GET $path 200" "$shots/upstream.log" 2>/dev/null || fail "the upstream log has no GET $path"
done
grep -q "fetched from http://127.0.0.1:" "$shots/gateway.log" 2>/dev/null ||
    fail "the gateway did not take its pictures from the fake upstream"
if [ "$failed" -eq 0 ]; then
    echo "PASS"
else
    for log in gateway.log upstream.log; do
        [ -f "$shots/$log" ] && { echo "--- $log"; cat "$shots/$log"; }
    done
fi
exit "$failed"
