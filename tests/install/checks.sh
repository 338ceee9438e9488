# Shared by the install tests: check NAME CONDITION counts a result and names
# each failure; report TEST prints the count and fails when one failed.
passed=0
failed=0
check() {
  if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
report() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
