# The pass/fail bookkeeping of the shell tests. Source it, count each check with `ok` or
# `fail "what went wrong"`, and end the script with `finish`, whose status is the verdict.
passed=0 failed=0
ok() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

# The Windows build runs the same scripts under Wine with QUILLET_TEST_WINDOWS set: there
# the program joins paths with "\", and what only POSIX systems have is left out.
sep=/
on_windows() { [ -n "${QUILLET_TEST_WINDOWS:-}" ]; }
if on_windows; then sep='\'; fi
