#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs from it: the exact
# file list, a valid desktop entry and metainfo that name each other, the program and the icon,
# and icons that are PNG pictures of their folder's size.
# Given the folder of the program's built-in pictures, the icons must also be the very pictures
# the program shows as its own icon, wherever it has that size.
# Usage: check_install.sh <build-dir> <expected-file-list> [<built-in-pictures-dir>]
# Exits 77 (skipped) when a checking tool is missing.
set -euo pipefail
build=$1
expected=$2
pictures=${3:-}
id=net.cirrolux.Cirrolux

for tool in desktop-file-validate appstreamcli file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/cirrolux-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' TERM INT
dest=$work/root
DESTDIR=$dest cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }

(cd "$dest" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$work/found"
if ! diff -u <(LC_ALL=C sort "$expected") "$work/found"; then
    fail "installed files differ from $expected (- expected, + installed)"
fi

desktop=$dest/usr/share/applications/$id.desktop
metainfo=$dest/usr/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"

field() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(field Icon)" = "$id" ] || fail "Icon= is '$(field Icon)', not $id"
exec=$(field Exec | cut -d' ' -f1)
[ -x "$dest/usr/bin/$exec" ] || fail "Exec= names '$exec', which is not installed in /usr/bin"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -q "<binary>$exec</binary>" "$metainfo" || fail "metainfo does not provide the binary $exec"

for size in 16 22 24 32 48 64 128 256; do
    icon=$dest/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || continue # already reported by the file list
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "$icon is not a ${size}x${size} PNG: $(file -b "$icon")"
    own=$pictures/cirrolux-$size.png
    if [ -n "$pictures" ] && [ -f "$own" ]; then
        cmp -s "$icon" "$own" || fail "the ${size}x${size} icon differs from the program's own"
    fi
done

for doc in usr/share/doc/cirrolux/changelog.Debian.gz usr/share/man/man1/cirrolux.1.gz; do
    [ -f "$dest/$doc" ] || continue
    gzip -t "$dest/$doc" || fail "$doc is not gzip data"
done

[ "$failed" -eq 0 ] && echo "install into DESTDIR checked: $(wc -l <"$work/found") files"
exit "$failed"
