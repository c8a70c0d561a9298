# The pass/fail bookkeeping of the shell tests. Source it, count each check with `ok` or
# `fail "what went wrong"`, and end the script with `finish`, whose status is the verdict.
passed=0 failed=0
ok() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}
