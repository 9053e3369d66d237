# What every shell test starts with: strict mode, a scratch folder removed on
# exit, and a count of failed checks that `finish` turns into the exit status.
# Sourced by tests/*.sh:  . "$(dirname "$0")/support/testlib.sh"
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_in() { # LABEL FILE TEXT
    grep -qF -- "$3" "$2" || fail "$1: output lacks '$3'"
}

# A stand-in for a real FreeBASIC compiler: a script that says who it is.
make_compiler() { # DIR NAME
    mkdir -p "$1"
    printf '#!/bin/sh\necho "real compiler: $*"\n' >"$1/$2"
    chmod 0755 "$1/$2"
}

# Ends the test: says how it went, and fails if any check did.
finish() { # WHAT [DETAIL]
    if [ "$failures" -ne 0 ]; then
        echo "$1: $failures check(s) failed" >&2
        exit 1
    fi
    echo "$1: all checks passed${2:+ ($2)}"
}
