#!/usr/bin/env bash
# Start-up time and peak memory of Cirrolux against a minimal Qt Widgets program that opens one
# empty window, measured in the same run on the same (offscreen) platform.
#   first paint: from launch to the main window's first paint
#   peak memory: VmHWM once Cirrolux has shown its start-up fetch (the baseline is held open for
#                as long as that took)
# Usage: bench/startup/run_startup_bench.sh [build-dir] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build}
runs=${2:-7}
cmake --build "$build" --target startup_probe minimal_window cirrolux-servicesim >/dev/null

work=$(mktemp -d /tmp/cirrolux-bench.XXXXXX)
trap 'kill $sim 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/tools/servicesim/cirrolux-servicesim" --port 0 >"$work/sim.out" &
sim=$!
for _ in $(seq 100); do port=$(head -n1 "$work/sim.out" | tr -dc 0-9 || true); [ -n "$port" ] && break; sleep 0.1; done

export QT_QPA_PLATFORM=offscreen
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

: >"$work/app" ; : >"$work/base" ; : >"$work/text"
for i in $(seq "$runs"); do
    profile=$work/profile$i
    mkdir -p "$profile/config/Cirrolux"
    printf '[Settings]\nStartupLoc=Boston, MA\nProxyUse=y\nProxy=127.0.0.1\nProxyPort=%s\n' "$port" \
        >"$profile/config/Cirrolux/Cirrolux.ini"
    PROBE_LAUNCH_NS=$(date +%s%N) XDG_CONFIG_HOME=$profile/config XDG_CACHE_HOME=$profile/cache \
        XDG_DATA_HOME=$profile/data "$build/bench/startup/startup_probe" 2>/dev/null >>"$work/app"
    hold=$(awk '/fetched_ms/ {v=$2} END {printf "%d", v}' "$work/app")
    PROBE_LAUNCH_NS=$(date +%s%N) PROBE_HOLD_MS=$hold "$build/bench/startup/minimal_window" \
        2>/dev/null >>"$work/base"
    PROBE_LAUNCH_NS=$(date +%s%N) PROBE_HOLD_MS=$hold PROBE_TEXT=1 \
        "$build/bench/startup/minimal_window" 2>/dev/null >>"$work/text"
done

app_paint=$(awk '/first_paint_ms/ {print $2}' "$work/app" | median)
base_paint=$(awk '/first_paint_ms/ {print $2}' "$work/base" | median)
app_rss=$(awk '/peak_rss_kb/ {print $2}' "$work/app" | median)
base_rss=$(awk '/peak_rss_kb/ {print $2}' "$work/base" | median)
text_paint=$(awk '/first_paint_ms/ {print $2}' "$work/text" | median)
fetched=$(awk '/fetched_ms/ {print $2}' "$work/app" | median)
echo "runs: $runs (medians), platform: offscreen"
printf 'first paint   cirrolux %8.1f ms   minimal window %8.1f ms   ratio %.2f\n' \
    "$app_paint" "$base_paint" "$(awk -v a="$app_paint" -v b="$base_paint" 'BEGIN {print a / b}')"
printf 'peak memory   cirrolux %8d kB   minimal window %8d kB   ratio %.2f\n' \
    "$app_rss" "$base_rss" "$(awk -v a="$app_rss" -v b="$base_rss" 'BEGIN {print a / b}')"
printf 'for reference: the minimal window with one line of text paints after %.1f ms (ratio %.2f)\n' \
    "$text_paint" "$(awk -v a="$app_paint" -v b="$text_paint" 'BEGIN {print a / b}')"
printf 'start-up fetch shown after %.1f ms (4 s start-up delay included)\n' "$fetched"
