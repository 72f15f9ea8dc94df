#!/usr/bin/env bash
# The test runner starts a program that printed nothing once more, and only then; its exit code
# is the last run's, and nothing printed twice is a failure. Each row: emulator script, expected
# exit code, whether the restart line is expected.
set -u
runner="$(dirname "$0")/../run-test-program.sh"
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
failures=0
check() {
  local name=$1 script=$2 expected_status=$3 expected_restart=$4 output status
  rm -f "$state/started"
  output=$("$runner" bash -c "$script" -- program.exe 2>&1)
  status=$?
  local restarted=no
  grep -q 'started once more' <<<"$output" && restarted=yes
  if [ "$status" != "$expected_status" ] || [ "$restarted" != "$expected_restart" ]; then
    echo "FAILED $name: exit $status (want $expected_status), restarted $restarted (want $expected_restart)"
    failures=$((failures + 1))
  fi
}
check "passing program"          'echo ok'                                             0 no
check "failing program"          'echo failed; exit 1'                                 1 no
check "silent crash, then pass"  "[ -e $state/started ] && { echo ok; exit 0; }; touch $state/started; exit 5" 0 yes
check "silent crash twice"       'exit 5'                                              5 yes
check "silent success twice"     'exit 0'                                              1 yes
[ "$failures" -eq 0 ] && echo "all rows passed"
exit "$failures"
