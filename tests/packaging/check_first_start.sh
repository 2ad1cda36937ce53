#!/usr/bin/env bash
# The installed program's first start under Xvfb, end to end with the real programs: the build
# installed into a temporary root (its socket unit moved to a free port), a user without
# settings starts it, and it stores the gateway as its proxy and opens "Cirrolux - Choose
# Location". Then, with Boston, MA as the start-up place in those settings, a second start shows
# Boston's readings from the fake NOAA's file through the gateway that systemd-socket-activate
# (standing in for the user's systemd) starts on the program's first connection.
# Usage: check_first_start.sh <build-dir>
# Exits 77 (skipped) when Xvfb, xwininfo or systemd-socket-activate is missing.
set -euo pipefail
build=$1

for tool in Xvfb xwininfo systemd-socket-activate; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done
[ -f /usr/share/weather-util/stations.gz ] || { echo "SKIP: weather-util-data is not installed"; exit 77; }

work=$(mktemp -d /tmp/cirrolux-firststart.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; exit 1; }
port=$((40000 + RANDOM % 9000))
sed -i "s/^ListenStream=127.0.0.1:.*/ListenStream=127.0.0.1:$port/" \
    "$root/usr/lib/systemd/user/cirrolux-gateway.socket"

mkdir -p "$work/noaa/data/observations/metar/stations"
printf '%s\nKBOS 101454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2\n' \
    "$(date -u -d '10 minutes ago' '+%Y/%m/%d %H:%M')" \
    >"$work/noaa/data/observations/metar/stations/KBOS.TXT"
"$build/tools/fakenoaa/cirrolux-fakenoaa" "$work/noaa" >"$work/noaa.out" &
pids+=($!)
for _ in $(seq 100); do noaa=$(head -n1 "$work/noaa.out" | tr -dc 0-9 || true); [ -n "$noaa" ] && break; sleep 0.05; done
[ -n "${noaa:-}" ] || { echo "the fake NOAA did not start"; exit 1; }
unset https_proxy HTTPS_PROXY
CIRROLUX_GATEWAY_OBSERVATIONS=http://127.0.0.1:$noaa/data/observations/metar/stations/ \
    systemd-socket-activate -l "127.0.0.1:$port" -E CIRROLUX_GATEWAY_OBSERVATIONS \
    "$root/usr/bin/cirrolux-gateway" --idle-exit 1 >/dev/null 2>"$work/gateway.log" &
pids+=($!)

export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime XDG_CURRENT_DESKTOP=
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
display=:$((200 + RANDOM % 200))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

window() { xwininfo -root -tree 2>/dev/null | grep -F "\"$1" | head -n1 || true; }
settings=$XDG_CONFIG_HOME/Cirrolux/Cirrolux.ini

"$root/usr/bin/cirrolux" >"$work/first.log" 2>&1 &
app=$!
pids+=($app)
for _ in $(seq 150); do [ -n "$(window 'Cirrolux - Choose Location')" ] && break; sleep 0.2; done
[ -n "$(window 'Cirrolux - Choose Location')" ] || fail "the first start opened no choose-location dialog"
for line in ProxyUse=y Proxy=127.0.0.1 "ProxyPort=$port"; do
    grep -qx "$line" "$settings" 2>/dev/null || fail "the first start did not store $line"
done
kill "$app"; wait "$app" 2>/dev/null || true

printf 'StartupLoc=Boston, MA\n' >>"$settings"
"$root/usr/bin/cirrolux" >"$work/second.log" 2>&1 &
app=$!
pids+=($app)
for _ in $(seq 150); do [ -n "$(window 'Cirrolux - Boston, MA')" ] && break; sleep 0.2; done
[ -n "$(window 'Cirrolux - Boston, MA')" ] || fail "no readings of Boston, MA through the gateway"
[ -z "$(window 'Cirrolux - Choose Location')" ] || fail "a second start opened the dialog again"
grep -q "(socket from systemd)" "$work/gateway.log" ||
    fail "the gateway was not started by the socket: $(cat "$work/gateway.log")"
kill "$app"; wait "$app" 2>/dev/null || true

if [ "$failed" -ne 0 ]; then
    echo "--- settings"; cat "$settings" 2>/dev/null || true
    echo "--- program"; cat "$work/first.log" "$work/second.log"
    echo "--- gateway"; cat "$work/gateway.log"
fi
[ "$failed" -eq 0 ] && echo "first start set up the gateway on port $port; Boston's readings came through it"
exit "$failed"
