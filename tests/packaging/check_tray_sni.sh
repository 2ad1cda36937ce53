#!/usr/bin/env bash
# The tray over the StatusNotifier protocol. For each desktop setting below the program starts
# under its own Xvfb and private session bus next to a fake org.kde.StatusNotifierWatcher; the
# program must register an item whose properties carry its name, status and icon, and a click
# sent the way a panel sends it must open the tray menu (a viewable popup-menu window).
# Usage: check_tray_sni.sh <cirrolux> <cirrolux-test-sni-watcher>
# Exits 77 (skipped) when Xvfb, dbus-daemon or the X utilities are missing.
set -uo pipefail
program=$1
watcher=$2

for tool in Xvfb dbus-daemon xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/cirrolux-sni.XXXXXX)
pids=()
stop() {
    for pid in "$@"; do kill "$pid" 2>/dev/null; done
    for pid in "$@"; do wait "$pid" 2>/dev/null; done
}
cleanup() {
    stop "${pids[@]}"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT

# Waits up to 10 s for a file to hold a line.
await_line() {
    for _ in $(seq 100); do
        [ -s "$1" ] && grep -q "${2:-.}" "$1" && return 0
        sleep 0.1
    done
    return 1
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
await_line "$work/display" || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")

# Viewable popup windows of the program: Qt maps its menus override-redirect, past the window
# manager, and nothing else of the program is (the splash is, but it is hidden by then).
popup_menus() {
    local count=0 window info
    for window in $(xwininfo -root -tree | awk '/\("cirrolux" "Cirrolux"\)/ { print $1 }'); do
        info=$(xwininfo -all -id "$window" 2>/dev/null)
        grep -q 'Override Redirect State: yes' <<<"$info" && grep -q IsViewable <<<"$info" &&
            count=$((count + 1))
    done
    echo "$count"
}

failed=0
# run_case <name> <click: Activate|ContextMenu|-> <popup menus expected> [VAR=value...]
run_case() {
    local name=$1 click=$2 menus=$3
    shift 3
    local dir=$work/$name
    mkdir -p "$dir/config" "$dir/cache" "$dir/data" "$dir/runtime"
    chmod 700 "$dir/runtime"

    dbus-daemon --session --nofork --print-address=3 3>"$dir/bus" >"$dir/dbus.log" 2>&1 &
    local bus_pid=$!
    pids+=("$bus_pid")
    await_line "$dir/bus" || { echo "FAIL [$name]: dbus-daemon did not start"; failed=1; return; }
    local address
    address=$(head -n 1 "$dir/bus")

    local click_args=()
    [ "$click" != - ] && click_args=(--click "$click")
    DBUS_SESSION_BUS_ADDRESS=$address "$watcher" --timeout 30 "${click_args[@]}" >"$dir/watcher.out" 2>&1 &
    local watcher_pid=$!
    pids+=("$watcher_pid")
    await_line "$dir/watcher.out" '^ready$' ||
        { cat "$dir/watcher.out"; echo "FAIL [$name]: the fake watcher did not start"; failed=1; return; }

    env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
        QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS="$address" \
        XDG_CONFIG_HOME="$dir/config" XDG_CACHE_HOME="$dir/cache" XDG_DATA_HOME="$dir/data" \
        XDG_RUNTIME_DIR="$dir/runtime" "$@" "$program" >"$dir/program.log" 2>&1 &
    local program_pid=$!
    pids+=("$program_pid")

    wait "$watcher_pid"
    local status=$?
    sleep 1 # the popup is shown from the program's event loop after the click returns
    local shown
    shown=$(popup_menus)
    stop "$program_pid" "$bus_pid"

    local problems=()
    [ "$status" -eq 0 ] || problems+=("no item registered (watcher exit $status)")
    expect() { grep -qx -- "$1" "$dir/watcher.out" || problems+=("no line '$1'"); }
    expect 'Id=Cirrolux'
    expect 'Title=Cirrolux'
    expect 'Status=Active'
    expect 'Category=ApplicationStatus'
    expect 'IconPixmap=16x16 32x32 48x48 64x64'
    expect 'ToolTip=||Cirrolux|'
    [ "$click" = - ] || expect "clicked $click"
    [ "$shown" -eq "$menus" ] || problems+=("$shown popup menus shown, expected $menus")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok   [$name] $(grep -c = "$dir/watcher.out") item properties, $shown popup menus"
    else
        failed=1
        echo "FAIL [$name]: ${problems[*]}"
        sed 's/^/    watcher: /' "$dir/watcher.out"
        sed 's/^/    program: /' "$dir/program.log" | head -n 20
    fi
}

# Qt picks its platform theme from the desktop's name; every theme it has must use the protocol,
# also when a named theme plugin is missing.
run_case generic-theme - 0
run_case kde-theme - 0 XDG_CURRENT_DESKTOP=KDE
run_case gnome-theme - 0 XDG_CURRENT_DESKTOP=GNOME
run_case xfce-desktop - 0 XDG_CURRENT_DESKTOP=XFCE
run_case missing-theme-plugin - 0 QT_QPA_PLATFORMTHEME=gtk3
# A panel's left click (Activate) opens the left tray menu, its right click the right one.
run_case left-click Activate 1
run_case right-click ContextMenu 1 XDG_CURRENT_DESKTOP=KDE
exit "$failed"
