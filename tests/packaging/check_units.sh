#!/usr/bin/env bash
# The gateway's systemd user units and the maintainer scripts that enable them:
#  - systemd-analyze verify accepts both units (the service's program pointed at the build's);
#  - the socket listens on the loopback address only, on the gateway's own default port, and no
#    user unit waits for network-online.target (a system target user managers never reach);
#  - postinst, run as dpkg runs it on a tree installed into a temporary root, enables the socket
#    for every user (/etc/systemd/user/sockets.target.wants), and postrm purge takes it away.
# Usage: check_units.sh <source-dir> <build-dir> <gateway-program>
# Exits 77 (skipped) when systemd-analyze or deb-systemd-helper is missing.
set -euo pipefail
src=$1
build=$2
gateway=$3
packaging=$src/packaging

for tool in systemd-analyze deb-systemd-helper; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs systemd and init-system-helpers)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/cirrolux-units.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' TERM INT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# systemd-analyze checks that ExecStart's program exists: use the one just built.
mkdir -p "$work/units" "$work/runtime"
chmod 700 "$work/runtime"
cp "$packaging/cirrolux-gateway.socket" "$work/units/"
sed "s|^ExecStart=/usr/bin/cirrolux-gateway|ExecStart=$gateway|" \
    "$packaging/cirrolux-gateway.service" >"$work/units/cirrolux-gateway.service"
if ! XDG_RUNTIME_DIR=$work/runtime systemd-analyze --user --man=no verify \
    "$work/units/cirrolux-gateway.socket" "$work/units/cirrolux-gateway.service" \
    >"$work/verify.txt" 2>&1 || [ -s "$work/verify.txt" ]; then
    cat "$work/verify.txt"
    fail "systemd-analyze verify does not accept the units"
fi

grep -l 'network-online' "$packaging"/cirrolux-gateway.* && fail "a user unit names network-online.target"
listen=$(sed -n 's/^ListenStream=//p' "$packaging/cirrolux-gateway.socket")
[ "$(wc -l <<<"$listen")" -eq 1 ] || fail "the socket has not exactly one ListenStream: $listen"
case $listen in
127.0.0.1:*) ;;
*) fail "the socket listens on '$listen', not on 127.0.0.1 only" ;;
esac
port=${listen#127.0.0.1:}
"$gateway" --help | grep -q "(default $port)" ||
    fail "the gateway's --help does not name port $port (the socket's) as its default"

# The package's files in a temporary root; deb-systemd-helper works on it through DPKG_ROOT and
# runs only when dpkg's variables say it was called from a maintainer script.
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; exit 1; }
mkdir -p "$work/bin"
cat >"$work/bin/deb-systemd-helper" <<WRAP
#!/bin/sh
DPKG_ROOT=$root exec $(command -v deb-systemd-helper) "\$@"
WRAP
# Running user managers are no part of this check: their calls are recorded, not made.
for tool in systemctl deb-systemd-invoke; do
    printf '#!/bin/sh\necho "%s $*" >>%s\n' "$tool" "$work/calls" >"$work/bin/$tool"
done
chmod +x "$work/bin"/*
maintscript() {
    DPKG_MAINTSCRIPT_PACKAGE=cirrolux DPKG_MAINTSCRIPT_NAME=$1 PATH=$work/bin:$PATH \
        sh "$packaging/debian/$1" "$2" || fail "$1 $2 exits with $?"
}
link=$root/etc/systemd/user/sockets.target.wants/cirrolux-gateway.socket
maintscript postinst configure
[ "$(readlink "$link" 2>/dev/null)" = /usr/lib/systemd/user/cirrolux-gateway.socket ] ||
    fail "postinst configure did not enable cirrolux-gateway.socket for every user"
[ ! -e "$root/etc/systemd/user/default.target.wants/cirrolux-gateway.service" ] ||
    fail "postinst enabled the service itself; only the socket starts it"
maintscript postinst configure # an upgrade keeps it enabled
[ -L "$link" ] || fail "a second postinst configure disabled the socket"
maintscript prerm remove
maintscript postrm remove
maintscript postrm purge
[ ! -e "$link" ] && [ ! -L "$link" ] || fail "postrm purge left the socket enabled"

[ "$failed" -eq 0 ] && echo "units verified, socket on $listen enabled by postinst and removed on purge"
exit "$failed"
