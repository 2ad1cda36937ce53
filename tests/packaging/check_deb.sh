#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary folder and has lintian check it: no
# errors and no warnings, Depends worked out from the program's shared libraries, a real
# maintainer, the maintainer scripts that enable the gateway's socket, and the package holds the
# installed file list. A build with Debian's hardening flags must also show none of lintian's
# hardening findings (PIE, RELRO, immediate binding, stack protector, fortified functions).
# Usage: check_deb.sh <build-dir> <expected-file-list> [<hardened: 1|0> <maintainer-scripts-dir>]
# Exits 77 (skipped) when a packaging tool is missing.
set -euo pipefail
build=$1
expected=$2
hardened=${3:-0}
scripts=${4:-}

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
grep -Fxq init-system-helpers <<<"$names" || fail "Depends lacks init-system-helpers"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
echo "Maintainer: $maintainer"
grep -Eq '^[^<>]+ <[^@<> ]+@[^<> ]+\.[a-z]+>$' <<<"$maintainer" || fail "Maintainer is not 'Name <address>'"
grep -Eqi 'noreply|\.example>' <<<"$maintainer" && fail "Maintainer is no address that reaches anyone"
if [ -n "$scripts" ]; then
    dpkg-deb -e "$deb" "$work/control"
    for script in postinst prerm postrm; do
        cmp -s "$scripts/$script" "$work/control/$script" ||
            fail "the package's $script is not $scripts/$script"
        [ -x "$work/control/$script" ] || fail "the package's $script is not executable"
    done
fi

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort \
    >"$work/found"
diff -u <(LC_ALL=C sort "$expected") "$work/found" ||
    fail "package files differ from $expected (- expected, + packaged)"

# lintian's exit status mixes findings and failures: judge its output instead. As root it warns
# about that on stderr; anything else there means it did not run properly.
lintian -I "$deb" >"$work/lintian.txt" 2>"$work/lintian.err" || true
cat "$work/lintian.txt"
if grep -v 'running with root privileges' "$work/lintian.err"; then
    fail "lintian did not run cleanly"
fi
if grep -q '^[EW]: ' "$work/lintian.txt"; then
    fail "lintian reports errors or warnings"
fi
if [ "$hardened" = 1 ] && grep -q 'hardening-' "$work/lintian.txt"; then
    fail "lintian finds the hardening flags missing in a build made with them"
fi
[ "$failed" -eq 0 ] && echo "package checked: lintian without errors or warnings$([ "$hardened" = 1 ] && echo ', hardened')"
exit "$failed"
