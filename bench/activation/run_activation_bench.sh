#!/usr/bin/env bash
# Time from starting Cirrolux to the readings on screen when no gateway runs and systemd's socket
# starts it on the first connection (systemd-socket-activate stands in for the user's systemd),
# against the same with the gateway already running (tables loaded, nothing cached), in the same
# run. The gateway fetches from the fake NOAA on 127.0.0.1 (a fresh KBOS file), so no internet.
#   to readings: launch of the program (bench/startup's probe, offscreen) to the conditions of
#                Boston, MA on the main window; it includes the program's 4 s start-up delay
#   first answer: the conditions page alone, asked with curl through the gateway, without the
#                program: activation (start, tables) against an answer of a running gateway
# Usage: bench/activation/run_activation_bench.sh [build-dir] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build}
runs=${2:-5}
for tool in systemd-socket-activate curl; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup installs it)" >&2; exit 1; }
done
cmake --build "$build" --target startup_probe cirrolux-gateway cirrolux-fakenoaa >/dev/null
gateway=$build/src/gateway/cirrolux-gateway

work=$(mktemp -d /tmp/cirrolux-activation.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/noaa/data/observations/metar/stations"
printf '%s\nKBOS 101454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2\n' \
    "$(date -u -d '10 minutes ago' '+%Y/%m/%d %H:%M')" \
    >"$work/noaa/data/observations/metar/stations/KBOS.TXT"
"$build/tools/fakenoaa/cirrolux-fakenoaa" "$work/noaa" >"$work/noaa.out" &
pids+=($!)
first_line() { for _ in $(seq 200); do v=$(head -n1 "$1" 2>/dev/null | tr -dc 0-9 || true); [ -n "$v" ] && { echo "$v"; return; }; sleep 0.05; done; echo "no port in $1" >&2; exit 1; }
noaa=$(first_line "$work/noaa.out")
export CIRROLUX_GATEWAY_OBSERVATIONS=http://127.0.0.1:$noaa/data/observations/metar/stations/
unset https_proxy HTTPS_PROXY

pick_port() { echo $((20000 + RANDOM % 10000)); }

# One gateway, cold (a socket only) or warm (already running), on its own port: sets port and gw.
start_gateway() {
    local kind=$1
    port=$(pick_port)
    log=$work/gateway-$port.log
    if [ "$kind" = cold ]; then
        systemd-socket-activate -l "127.0.0.1:$port" -E CIRROLUX_GATEWAY_OBSERVATIONS \
            "$gateway" --idle-exit 5 >/dev/null 2>"$log" &
        ready="Listening on 127.0.0.1:$port" # the socket only: no connection may start it yet
    else
        "$gateway" --port "$port" >/dev/null 2>"$log" &
        ready="listening on 127.0.0.1:$port" # the gateway's start-up line: tables loaded
    fi
    gw=$!
    pids+=($gw)
    for _ in $(seq 500); do grep -q "$ready" "$log" 2>/dev/null && return; sleep 0.02; done
    echo "the $kind gateway did not come up:" >&2; cat "$log" >&2; exit 1
}
# After a run: the cold gateway must have been started by the socket, the warm one not.
check_started() {
    grep -q "(socket from systemd)" "$log" && [ "$1" = cold ] && return
    ! grep -q "(socket from systemd)" "$log" && [ "$1" = warm ] && return
    echo "the $1 gateway did not start as it should:" >&2; cat "$log" >&2; exit 1
}
stop_gateway() { kill "$gw" 2>/dev/null || true; wait "$gw" 2>/dev/null || true; }

export QT_QPA_PLATFORM=offscreen
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
: >"$work/cold"; : >"$work/warm"; : >"$work/cold_curl"; : >"$work/warm_curl"
boston=http://www.wunderground.com/US/MA/Boston.html
for i in $(seq "$runs"); do
    for kind in cold warm; do
        start_gateway "$kind"
        profile=$work/profile-$kind-$i
        mkdir -p "$profile/config/Cirrolux"
        printf '[Settings]\nStartupLoc=Boston, MA\nProxyUse=y\nProxy=127.0.0.1\nProxyPort=%s\n' "$port" \
            >"$profile/config/Cirrolux/Cirrolux.ini"
        PROBE_LAUNCH_NS=$(date +%s%N) XDG_CONFIG_HOME=$profile/config XDG_CACHE_HOME=$profile/cache \
            XDG_DATA_HOME=$profile/data "$build/bench/startup/startup_probe" 2>/dev/null |
            awk '/fetched_ms/ {print $2}' >>"$work/$kind"
        check_started "$kind"
        stop_gateway
        start_gateway "$kind"
        curl -s -o /dev/null -w '%{time_total}\n' -x "127.0.0.1:$port" "$boston" |
            awk '{printf "%.1f\n", $1 * 1000}' >>"$work/${kind}_curl"
        check_started "$kind"
        stop_gateway
    done
done

[ "$(wc -l <"$work/cold")" -eq "$runs" ] && [ "$(wc -l <"$work/warm")" -eq "$runs" ] ||
    { echo "a run showed no readings" >&2; exit 1; }
cold=$(median <"$work/cold"); warm=$(median <"$work/warm")
cold_curl=$(median <"$work/cold_curl"); warm_curl=$(median <"$work/warm_curl")
echo "runs: $runs (medians), platform: offscreen, upstream: fake NOAA on 127.0.0.1"
printf 'to readings    socket-activated %8.1f ms   gateway running %8.1f ms   ratio %.2f (goal <= 1.5)\n' \
    "$cold" "$warm" "$(awk -v a="$cold" -v b="$warm" 'BEGIN {print a / b}')"
printf 'first answer   socket-activated %8.1f ms   gateway running %8.1f ms   ratio %.2f\n' \
    "$cold_curl" "$warm_curl" "$(awk -v a="$cold_curl" -v b="$warm_curl" 'BEGIN {print a / b}')"
printf 'gateway start (activation) adds %.1f ms to the first answer\n' \
    "$(awk -v a="$cold_curl" -v b="$warm_curl" 'BEGIN {print a - b}')"
