#!/usr/bin/env bash
# Run the test program under a virtual display and end with one line
# "N passed, M failed", where N counts the tests that passed; a check of the
# whole run that fails (heaptrc, valgrind) adds one to M and says so above. Exit non-zero when a test fails or errors, when the
# program dies, or when heaptrc reports anything but 0 unfreed memory blocks.
#
#   tests/runtests.sh                      every registered test
#   tests/runtests.sh --suite=Metadata     one subsystem
#
# heaptrc writes its summary to stderr only when stderr is a terminal (the
# buffer is dropped otherwise), so it is sent to a log file through HEAPTRC.
set -uo pipefail
cd "$(dirname "$0")/.."

bin=tests/orvtests
if [ ! -x "$bin" ]; then
  echo "runtests: $bin is not built (make test builds it)" >&2
  echo "0 passed, 1 failed"
  exit 1
fi
[ $# -eq 0 ] && set -- --all

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
heaplog=$work/heaptrc.log

display=()
command -v xvfb-run >/dev/null && display=(xvfb-run -a)

# The editor windows keep their places in the user's registry file; the
# tests keep theirs in the scratch folder.
export XDG_CONFIG_HOME="$work/config"

HEAPTRC="log=$heaplog keepreleased ${HEAPTRC:-}" "${display[@]}" "$bin" --format=plain --sparse "$@" \
  >"$work/out" 2>"$work/err"
status=$?
cat -s "$work/out"

count() { sed -n "s/^Number of $1: *\([0-9][0-9]*\).*/\1/p" "$work/out" | tail -n 1; }
run=$(count 'run tests')
errors=$(count 'errors')
failures=$(count 'failures')

problem=
if [ -z "$run" ] || [ -z "$errors" ] || [ -z "$failures" ]; then
  problem="the test program printed no result counts (exit status $status)"
  run=0 errors=0 failures=0
elif [ "$run" -eq 0 ]; then
  problem="no tests were run"
fi

unfreed=$(sed -n 's/^\([0-9][0-9]*\) unfreed memory blocks.*/\1/p' "$heaplog" 2>/dev/null | tail -n 1)
if [ -z "$unfreed" ]; then
  problem="${problem:+$problem; }heaptrc wrote no heap summary"
elif [ "$unfreed" -ne 0 ]; then
  problem="${problem:+$problem; }heaptrc reports $unfreed unfreed memory blocks"
elif grep -q '^Marked memory at' "$heaplog"; then
  problem="${problem:+$problem; }heaptrc reports a damaged heap"
fi
if [ "$status" -ne 0 ] && [ "$run" -gt 0 ] && [ $((errors + failures)) -eq 0 ]; then
  problem="${problem:+$problem; }the test program exited with status $status"
fi

failed=$((errors + failures))
passed=$((run - failed))

# The same tests built on the C allocator, under valgrind: one more check
# that nothing reads or writes memory it must not.
vgbin=tests/orvtests-vg
if [ -x "$vgbin" ] && command -v valgrind >/dev/null && [ -z "$problem" ]; then
  if "${display[@]}" valgrind -q --error-exitcode=3 --suppressions=tools/valgrind-lcl.supp "$vgbin" --format=plain "$@" >"$work/vg" 2>&1 \
     && grep -q '^Number of errors: *0' "$work/vg" && grep -q '^Number of failures: *0' "$work/vg"; then
    echo "valgrind: no invalid reads or writes (a check of the run, not counted as a test)"
  else
    echo "--- valgrind"
    grep -E '^==[0-9]+==|^Number of' "$work/vg" | head -n 60
    echo "runtests: valgrind reports memory errors (counted as 1 failed)"
    failed=$((failed + 1))
  fi
fi
if [ -n "$problem" ]; then
  # Show what the program and heaptrc said; the run counts as one more failure.
  if [ -s "$work/err" ]; then
    echo "--- test program stderr"
    head -n 200 "$work/err"
  fi
  if [ -s "$heaplog" ]; then
    echo "--- heaptrc report"
    head -n 200 "$heaplog"
  fi
  echo "runtests: $problem (counted as 1 failed)"
  failed=$((failed + 1))
else
  echo "heaptrc: 0 unfreed memory blocks (a check of the run, not counted as a test)"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
