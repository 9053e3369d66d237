#!/usr/bin/env bash
# Builds the Debian package and the cmake --install tree from a configured,
# built build directory and checks what they hold: the program under a
# directory of its own, the two scripts, the man page; no compiler renamed or
# shadowed; and an installed fbext-install-into that finds its program.
# Usage: package_test.sh BUILD_DIR
. "$(dirname "$0")/support/testlib.sh"

build=$(cd "$1" && pwd)

marker_of() { sed -n "s/^marker='\(.*\)'$/\1/p" "$1"; }

# Puts the installed program in front of a stand-in compiler with the installed
# script, without --program, and takes it out again.
check_installed_scripts() { # LABEL ROOT_BIN ROOT_PROGRAM
    local label=$1 bin=$2 program=$3 dir="$work/compiler-$1"
    make_compiler "$dir" fbc
    cp "$dir/fbc" "$work/original"
    "$bin/fbext-install-into" "$dir" >/dev/null || fail "$label: fbext-install-into failed"
    cmp -s "$dir/fbc" "$program" || fail "$label: fbext-install-into did not install $program"
    cmp -s "$dir/fbc2" "$work/original" || fail "$label: the compiler was not renamed fbc2"
    "$bin/fbext-uninstall-from" "$dir" >/dev/null || fail "$label: fbext-uninstall-from failed"
    cmp -s "$dir/fbc" "$work/original" || fail "$label: the compiler was not put back"
    [ ! -e "$dir/fbc2" ] || fail "$label: fbc2 left behind"
}

# --- the Debian package ----------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; exit 1; }
debs=("$work"/package/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "expected one .deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = fbext ] || fail "package name is not fbext"
depends=$(dpkg-deb -f "$deb" Depends)
grep -Eq '(^|, )libqt6core6[a-z0-9]* ' <<<"$depends" || fail "no dependency on the Qt 6 Core runtime: $depends"
description=$(dpkg-deb -f "$deb" Description)
grep -q "fbext-install-into DIR" <<<"$description" || fail "the description does not say how to install"
grep -q "fbext-uninstall-from DIR" <<<"$description" || fail "the description does not say how to uninstall"

# No maintainer scripts: installing the package runs nothing.
dpkg-deb -e "$deb" "$work/control"
extra=$(ls "$work/control" | grep -Ev '^(control|md5sums|conffiles)$' || true)
[ -z "$extra" ] || fail "the package has maintainer scripts: $extra"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
for expected in /usr/libexec/fbext/fbc /usr/libexec/fbext/preview-compiler /usr/bin/fbext-install-into /usr/bin/fbext-uninstall-from \
    /usr/share/man/man1/fbext.1.gz /usr/share/doc/fbext/user-guide.md \
    /usr/share/doc/fbext/examples/hello/main.bas; do
    grep -qx -- "$expected" "$work/contents" || fail "the package lacks $expected"
done
# Nothing named fbc anywhere but its own directory: the package must not
# shadow or replace a compiler.
shadow=$(grep -E '/fbc(\.exe)?$' "$work/contents" | grep -v '^/usr/libexec/fbext/fbc$' || true)
[ -z "$shadow" ] || fail "the package installs an fbc outside its own directory: $shadow"

dpkg-deb -x "$deb" "$work/root"
program="$work/root/usr/libexec/fbext/fbc"
[ -x "$program" ] || fail "the packaged program is not executable"
grep -qaF -- "$(marker_of "$work/root/usr/bin/fbext-install-into")" "$program" ||
    fail "the packaged (stripped) program lacks the marker that the scripts look for"
check_installed_scripts deb "$work/root/usr/bin" "$program"

# The documented way to see what the compiler is given: the packaged program
# as fbc with the packaged preview compiler as fbc2.
mkdir -p "$work/preview"
cp "$program" "$work/preview/fbc"
cp "$work/root/usr/libexec/fbext/preview-compiler" "$work/preview/fbc2"
printf 'print "hello"\n' >"$work/preview/hello.bas"
(cd "$work/preview" && ./fbc hello.bas) >"$work/preview.out" 2>&1 || fail "the preview run failed"
grep -qx "==== hello.bas, as the compiler receives it ====" "$work/preview.out" ||
    fail "the preview compiler printed no header: $(cat "$work/preview.out")"
grep -qx 'print "hello"' "$work/preview.out" || fail "the preview compiler did not print the file"

man_page=$(zcat "$work/root/usr/share/man/man1/fbext.1.gz")
grep -q '^\.TH FBEXT 1' <<<"$man_page" || fail "the man page has no .TH FBEXT 1 header"
if command -v groff >/dev/null; then
    warnings=$(groff -man -Tutf8 -ww -z <<<"$man_page" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
fi

# --- cmake --install into a prefix of one's own ----------------------------
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
prefix_program=$(find "$work/prefix" -path '*/fbext/fbc' -type f)
[ -n "$prefix_program" ] || fail "cmake --install put no fbext/fbc under the prefix"
[ ! -e "$work/prefix/bin/fbc" ] || fail "cmake --install put an fbc on PATH"
[ -n "$prefix_program" ] && check_installed_scripts prefix "$work/prefix/bin" "$prefix_program"

finish package "$(basename "$deb"): $depends"
