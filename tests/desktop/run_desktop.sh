#!/usr/bin/env bash
# Runs a test binary on a desktop of its own: Xvfb, the openbox window manager and a system tray
# (trayer, the freedesktop XEmbed tray), all started here and stopped when the run ends, within
# a time limit. The program's StatusNotifier path needs a session bus; there is none, so Qt uses
# the XEmbed tray, as under Openbox or LXDE panels.
# Usage: run_desktop.sh <test binary> [arguments...]
# Exits 77 (skipped) when one of the desktop programs is missing (scripts/setup installs them).
set -uo pipefail
binary=$1
shift

for tool in Xvfb openbox trayer xprop xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/cirrolux-desktop.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT

# Waits up to 10 s for a command to succeed.
await() {
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
# The display number is whole once its line ends; the server answers once it is up.
await sh -c '[ "$(wc -l <"$1")" -ge 1 ]' - "$work/display" ||
    { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
await xprop -root _NET_SUPPORTED_NONE ||
    { cat "$work/xvfb.log"; echo "FAIL: Xvfb does not answer on $DISPLAY"; exit 1; }

mkdir -p "$work/config" "$work/cache" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORMTHEME WAYLAND_DISPLAY SESSION_MANAGER

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
# A window manager names itself on the root window once it runs.
await sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    { cat "$work/openbox.log"; echo "FAIL: openbox did not start"; exit 1; }

trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
    --SetDockType true >"$work/trayer.log" 2>&1 &
pids+=($!)
await sh -c 'xwininfo -root -tree | grep -qi "panel"' ||
    { cat "$work/trayer.log"; echo "FAIL: trayer did not start"; exit 1; }

QT_QPA_PLATFORM=xcb timeout --kill-after=10 240 "$binary" "$@"
