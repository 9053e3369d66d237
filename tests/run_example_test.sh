#!/usr/bin/env bash
# Runs scripts/run-example against an existing build: with the preview
# compiler, with a FreeBASIC compiler on PATH (a fake one that "compiles" into
# a program that says its name), and with fbext itself installed as the fbc on
# PATH.
# Usage: run_example_test.sh BUILD_DIR SOURCE_DIR
. "$(dirname "$0")/support/testlib.sh"

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
run_example="$source/scripts/run-example"
base_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# The real compiler of the tests, if any, is used below on purpose only.
real_compiler=${FBEXT_TEST_FBC:-}
unset FBEXT_TEST_FBC
# A fake FreeBASIC compiler: turns NAME.bas into a program that prints its name.
mkdir -p "$work/freebasic"
cat >"$work/freebasic/fbc" <<'EOF'
#!/bin/sh
for argument in "$@"; do
    case "$argument" in
    *.bas)
        name=${argument%.bas}
        printf '#!/bin/sh\necho "ran %s"\n' "$name" >"$name"
        chmod +x "$name"
        ;;
    esac
done
echo "fake compiler: $*"
EOF
chmod +x "$work/freebasic/fbc"

# --- the preview compiler ---------------------------------------------------
if PATH=$base_path command -v fbc >/dev/null; then
    echo "a FreeBASIC compiler is on PATH; the preview checks are skipped"
else
    PATH=$base_path "$run_example" --build-dir "$build" >"$work/out" 2>&1 || fail "preview hello: status $?"
    expect_in "preview hello" "$work/out" "the preview compiler"
    expect_in "preview hello" "$work/out" "==== main.bas, as the compiler receives it ===="
    expect_in "preview hello" "$work/out" 'print g.shout("world")'
    expect_in "preview hello" "$work/out" "source files are unchanged"

    PATH=$base_path "$run_example" --build-dir "$build" containers >"$work/out" 2>&1 ||
        fail "preview containers: status $?"
    expect_in "preview containers" "$work/out" "==== rpn.bas, as the compiler receives it ===="
    expect_in "preview containers" "$work/out" "==== wordcount.bas, as the compiler receives it ===="
    expect_in "preview containers" "$work/out" "source files are unchanged"
fi

# --- a FreeBASIC compiler on PATH --------------------------------------------
PATH="$work/freebasic:$base_path" "$run_example" --build-dir "$build" shapes >"$work/out" 2>&1 ||
    fail "real shapes: status $?"
expect_in "real shapes" "$work/out" "Compiler behind fbext: $work/freebasic/fbc"
expect_in "real shapes" "$work/out" "fake compiler: shapes.bas"
expect_in "real shapes" "$work/out" "ran shapes"
expect_in "real shapes" "$work/out" "source files are unchanged"

# --- fbext installed in front of that compiler ----------------------------
cp -R "$work/freebasic" "$work/installed"
"$source/scripts/install-into" --program "$build/driver/fbc" "$work/installed" >/dev/null
PATH="$work/installed:$base_path" "$run_example" --build-dir "$build" both >"$work/out" 2>&1 ||
    fail "installed both: status $?"
expect_in "installed both" "$work/out" "Compiler behind fbext: $work/installed/fbc2"
expect_in "installed both" "$work/out" "ran walker"

# --- the real compiler that FBEXT_TEST_FBC names, none being on PATH -----------
if [ -z "$real_compiler" ] || PATH=$base_path command -v fbc >/dev/null; then
    echo "no FBEXT_TEST_FBC, or a FreeBASIC compiler is on PATH; the FBEXT_TEST_FBC check is skipped"
else
    PATH=$base_path FBEXT_TEST_FBC=$real_compiler "$run_example" --build-dir "$build" shapes \
        >"$work/out" 2>&1 || fail "FBEXT_TEST_FBC shapes: status $?"
    expect_in "FBEXT_TEST_FBC shapes" "$work/out" "Compiler behind fbext: $real_compiler"
    expect_in "FBEXT_TEST_FBC shapes" "$work/out" "circle at (3, 4), area 12.56637061435916"
    expect_in "FBEXT_TEST_FBC shapes" "$work/out" "source files are unchanged"
fi

# --- usage --------------------------------------------------------------------
status=0
"$run_example" --build-dir "$build" no-such-example >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "an unknown example gives status $status, expected 2"

if [ "$failures" -ne 0 ]; then
    echo "--- last output:" >&2
    cat "$work/out" >&2
fi
finish run-example
