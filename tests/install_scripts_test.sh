#!/usr/bin/env bash
# End-to-end checks of scripts/install-into and scripts/uninstall-from on
# temporary compiler directories: the happy paths, and every refusal, which
# must leave the directory exactly as it was.
# Usage: install_scripts_test.sh PROGRAM SCRIPTS_DIR
. "$(dirname "$0")/support/testlib.sh"

program=$1
scripts=$2
install_into="$scripts/install-into"
uninstall_from="$scripts/uninstall-from"

# Names, sizes, modes and contents of everything in a directory.
snapshot() {
    (cd "$1" && find . -printf '%p %y %s %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# Runs a command that must refuse: status 1, a message naming the reason,
# the directory unchanged.
expect_refusal() { # LABEL DIR EXPECTED_TEXT COMMAND...
    local label=$1 dir=$2 expected=$3
    shift 3
    local before after status=0
    before=$(snapshot "$dir" 2>/dev/null || true)
    "$@" >"$work/out" 2>"$work/err" || status=$?
    after=$(snapshot "$dir" 2>/dev/null || true)
    [ "$status" -eq 1 ] || fail "$label: status $status, expected 1"
    grep -qF -- "$expected" "$work/err" || fail "$label: message lacks '$expected': $(cat "$work/err")"
    grep -qF -- "nothing was changed" "$work/err" || fail "$label: message does not say nothing changed"
    [ "$before" = "$after" ] || fail "$label: the directory changed"
}

# --- install and uninstall, round trip -------------------------------------
dir="$work/free basic/bin" # a space in the path on purpose
make_compiler "$dir" fbc
cp "$dir/fbc" "$work/original-fbc"
"$install_into" --program "$program" "$dir" >"$work/out" || fail "install-into failed"
cmp -s "$dir/fbc2" "$work/original-fbc" || fail "fbc2 is not the original compiler"
cmp -s "$dir/fbc" "$program" || fail "fbc is not the program"
[ -x "$dir/fbc" ] || fail "the installed fbc is not executable"
[ -z "$(find "$dir" -name '.fbext-staged*')" ] || fail "a staged copy was left behind"
# The installed program hands its command line to the real compiler.
output=$("$dir/fbc" -version 2>&1) || fail "the installed fbc failed: $output"
[ "$output" = "real compiler: -version" ] || fail "the installed fbc did not run fbc2: $output"

expect_refusal "install twice" "$dir" "already is fbext" "$install_into" --program "$program" "$dir"

"$uninstall_from" "$dir" >"$work/out" || fail "uninstall-from failed"
cmp -s "$dir/fbc" "$work/original-fbc" || fail "fbc is not the original compiler after uninstall"
[ ! -e "$dir/fbc2" ] || fail "fbc2 is still there after uninstall"
[ "$(ls -A "$dir")" = "fbc" ] || fail "uninstall left other files: $(ls -A "$dir")"

expect_refusal "uninstall twice" "$dir" "is not fbext" "$uninstall_from" "$dir"

# --- install refusals ------------------------------------------------------
empty="$work/empty"
mkdir -p "$empty"
expect_refusal "no compiler" "$empty" "holds no FreeBASIC compiler" \
    "$install_into" --program "$program" "$empty"

taken="$work/taken"
make_compiler "$taken" fbc
make_compiler "$taken" fbc2
expect_refusal "fbc2 present" "$taken" "fbc2 already exists" \
    "$install_into" --program "$program" "$taken"

dangling="$work/dangling"
make_compiler "$dangling" fbc
ln -s "$work/nowhere" "$dangling/fbc2"
expect_refusal "fbc2 a dangling link" "$dangling" "fbc2 already exists" \
    "$install_into" --program "$program" "$dangling"

already="$work/already"
mkdir -p "$already"
cp "$program" "$already/fbc"
expect_refusal "fbc is fbext, no fbc2" "$already" "already is fbext" \
    "$install_into" --program "$program" "$already"

plain="$work/plain"
make_compiler "$plain" fbc
expect_refusal "program is not fbext" "$plain" "is not fbext" \
    "$install_into" --program "$plain/fbc" "$plain"
expect_refusal "program missing" "$plain" "does not exist" \
    "$install_into" --program "$work/no-such-program" "$plain"
expect_refusal "DIR not a directory" "$plain" "is not a directory" \
    "$install_into" --program "$program" "$plain/fbc"
expect_refusal "DIR missing" "$plain" "is not a directory" \
    "$install_into" --program "$program" "$work/no-such-dir"

if [ "$(id -u)" -ne 0 ]; then # root may write anywhere
    locked="$work/locked"
    make_compiler "$locked" fbc
    chmod 0555 "$locked"
    expect_refusal "DIR not writable" "$locked" "not writable" \
        "$install_into" --program "$program" "$locked"
    chmod 0755 "$locked"
fi

# --- uninstall refusals ----------------------------------------------------
expect_refusal "uninstall: no fbc" "$empty" "holds no fbc" "$uninstall_from" "$empty"
expect_refusal "uninstall: fbc is a compiler" "$taken" "is not fbext" "$uninstall_from" "$taken"
expect_refusal "uninstall: fbc2 missing" "$already" "is missing" "$uninstall_from" "$already"
twice="$work/twice"
mkdir -p "$twice"
cp "$program" "$twice/fbc"
cp "$program" "$twice/fbc2"
expect_refusal "uninstall: fbc2 is fbext" "$twice" "fbext too" "$uninstall_from" "$twice"
expect_refusal "uninstall: not a directory" "$plain" "is not a directory" \
    "$uninstall_from" "$plain/fbc"

# --- a Windows installation: fbc.exe and fbc2.exe --------------------------
windows="$work/windows"
make_compiler "$windows" fbc.exe
cp "$windows/fbc.exe" "$work/original-fbc.exe"
"$install_into" --program="$program" "$windows" >/dev/null || fail "install-into (fbc.exe) failed"
cmp -s "$windows/fbc2.exe" "$work/original-fbc.exe" || fail "fbc2.exe is not the original compiler"
cmp -s "$windows/fbc.exe" "$program" || fail "fbc.exe is not the program"
"$uninstall_from" "$windows" >/dev/null || fail "uninstall-from (fbc.exe) failed"
cmp -s "$windows/fbc.exe" "$work/original-fbc.exe" || fail "fbc.exe not put back"
[ "$(ls -A "$windows")" = "fbc.exe" ] || fail "uninstall (fbc.exe) left: $(ls -A "$windows")"

# --- a compiler that is a symbolic link stays one ---------------------------
linked="$work/linked"
make_compiler "$work/freebasic-1.10" fbc
mkdir -p "$linked"
ln -s ../freebasic-1.10/fbc "$linked/fbc"
"$install_into" --program "$program" "$linked" >/dev/null || fail "install-into (linked fbc) failed"
[ "$(readlink "$linked/fbc2")" = ../freebasic-1.10/fbc ] || fail "fbc2 is not the original link"
[ ! -L "$linked/fbc" ] && cmp -s "$linked/fbc" "$program" || fail "fbc is not a copy of the program"
[ "$("$linked/fbc" -x 2>&1)" = "real compiler: -x" ] || fail "the linked compiler is not reached"
"$uninstall_from" "$linked" >/dev/null || fail "uninstall-from (linked fbc) failed"
[ "$(readlink "$linked/fbc")" = ../freebasic-1.10/fbc ] || fail "the link fbc was not put back"

# --- usage -----------------------------------------------------------------
for script in "$install_into" "$uninstall_from"; do
    "$script" --help >"$work/out" || fail "$script --help failed"
    grep -q "^Usage: " "$work/out" || fail "$script --help prints no usage"
    status=0
    "$script" >/dev/null 2>&1 || status=$?
    [ "$status" -eq 2 ] || fail "$script without DIR: status $status, expected 2"
    status=0
    "$script" --bogus "$plain" >/dev/null 2>&1 || status=$?
    [ "$status" -eq 2 ] || fail "$script --bogus: status $status, expected 2"
done
grep -q -- "--program" <("$install_into" --help) || fail "install-into --help does not document --program"

# Both scripts recognise the program by the same text, which the program holds.
for script in "$install_into" "$uninstall_from"; do
    marker=$(sed -n "s/^marker='\(.*\)'$/\1/p" "$script")
    [ -n "$marker" ] || fail "$script has no marker line"
    grep -qaF -- "$marker" "$program" || fail "the program lacks the marker of $script"
done

finish "install scripts"
