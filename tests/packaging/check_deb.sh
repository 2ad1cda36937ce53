#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary folder and has lintian check it: no
# errors allowed (warnings are printed), Depends worked out from the program's shared libraries,
# and the package holds the installed file list.
# Usage: check_deb.sh <build-dir> <expected-file-list>
# Exits 77 (skipped) when a packaging tool is missing.
set -euo pipefail
build=$1
expected=$2

for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/cirrolux-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' TERM INT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
debs=("$work"/cirrolux_*.deb)
[ -f "${debs[0]}" ] || { cat "$work/cpack.log"; echo "FAIL: cpack made no .deb"; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6; do
    grep -Fxq "$lib" <<<"$names" || fail "Depends lacks $lib"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer field"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort \
    >"$work/found"
diff -u <(LC_ALL=C sort "$expected") "$work/found" ||
    fail "package files differ from $expected (- expected, + packaged)"

# lintian's exit status mixes findings and failures: judge its output instead. As root it warns
# about that on stderr; anything else there means it did not run properly.
lintian "$deb" >"$work/lintian.txt" 2>"$work/lintian.err" || true
cat "$work/lintian.txt"
if grep -v 'running with root privileges' "$work/lintian.err"; then
    fail "lintian did not run cleanly"
fi
if grep -q '^E: ' "$work/lintian.txt"; then
    fail "lintian reports errors"
fi
[ "$failed" -eq 0 ] && echo "package checked: lintian $(grep -c '^W: ' "$work/lintian.txt") warnings, no errors"
exit "$failed"
