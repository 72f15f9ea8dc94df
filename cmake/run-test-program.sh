#!/usr/bin/env bash
# Runs one GoogleTest program (all its tests, or the shard that GTEST_SHARD_INDEX names) through
# the given emulator command, passing its output and exit code on.
#   run-test-program.sh <emulator command...> -- <program.exe> [arguments...]
# A test program always prints before it ends. When one ends at once having printed nothing, the
# emulator never got it started (a start-up hiccup of Wine, seen on busy machines): it is started
# once more and the log says so. A program that printed anything keeps its result, so a test that
# fails for real still fails; one that prints nothing twice fails.
set -u
emulator=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do emulator+=("$1"); shift; done
shift  # the --
output=$(mktemp)
trap 'rm -f "$output"' EXIT

run() {
  "${emulator[@]}" "$@" 2>&1 | tee "$output"
  return "${PIPESTATUS[0]}"
}

run "$@"
status=$?
if [ ! -s "$output" ]; then
  echo "run-test-program: $(basename "$1") ended with $status and printed nothing: it never" \
       "started, so it is started once more"
  run "$@"
  status=$?
  # Twice nothing: no test ran, which is never a pass.
  if [ ! -s "$output" ] && [ "$status" -eq 0 ]; then status=1; fi
fi
exit "$status"
