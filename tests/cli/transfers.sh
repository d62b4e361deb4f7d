#!/usr/bin/env bash
# telvane-cli's receive and send against its own instrument simulator, over pseudo-terminals:
# what one side sends is what the other writes, byte for byte.
#   transfers.sh <telvane-cli>
set -euo pipefail
CLI=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"; kill $(jobs -p) 2>/dev/null || true' EXIT
cd "$WORK"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Starts the simulator with the given arguments; sets PORT to its device.
start_instrument() {
    : > inst.out
    "$CLI" instrument "$@" > inst.out 2> inst.err &
    for _ in $(seq 100); do
        [ -s inst.out ] && break
        sleep 0.05
    done
    PORT=$(head -1 inst.out)
}

# A job from the instrument arrives whole and is written as job text.
printf 'JOB     DAY1\r\nINST    TS\r\nSTA     S1,1.5000,CP\r\nXYZ     100.0000,200.0000,10.0000\r\n' > job.txt
start_instrument --send job.txt --start-after 0.5 --baud 9600
"$CLI" receive got.txt --port "$PORT" --silence 0.5 || fail "receive of a job: status $?"
cmp -s job.txt got.txt || fail "the received job differs: $(od -c got.txt | head -5)"
wait

# A code list, written as codes; a last line without its line end is kept.
printf 'TREE\r\nWALL\r\nPOLE' > codes.txt
start_instrument --send codes.txt --start-after 0.5
"$CLI" receive got-codes.txt --port "$PORT" --silence 0.5 || fail "receive of codes: status $?"
printf 'TREE\r\nWALL\r\nPOLE\r\n' | cmp -s - got-codes.txt || fail "received codes: $(cat got-codes.txt)"
wait

# Points to the instrument: one line per request, in the instrument's layout.
printf 'P1,TREE,100,200,10.5\r\nP2,,1,2,3\r\n' > points.csv
start_instrument --receive back.txt --silence 0.5
"$CLI" send points.csv --port "$PORT" --silence 0.5 || fail "send of points: status $?"
wait
printf 'P1 TREE 0 100.000000 200.000000 10.500000 0\r\nP2 \b 0 1.000000 2.000000 3.000000 0\r\n' |
    cmp -s - back.txt || fail "the instrument got: $(od -c back.txt | head -5)"

# A vertical profile: its commas become blanks.
printf 'h\r\n0,100,1.5,-2,3000\r\n250,104,-2,1,0\r\n' > road.PVI
start_instrument --receive back-road.txt --silence 0.5
"$CLI" send road.PVI --port "$PORT" --silence 0.5 || fail "send of a profile: status $?"
wait
printf '0 100 1.5 -2 3000 \r\n250 104 -2 1 0 \r\n' | cmp -s - back-road.txt ||
    fail "the instrument got: $(od -c back-road.txt | head -5)"

# Nothing arrives: status 1 and the reason.
start_instrument --send job.txt --start-after 30
if "$CLI" receive none.txt --port "$PORT" --first-line-timeout 0.5 2> none.err; then
    fail "a receive of nothing succeeded"
fi
grep -q '\[cli_nothing_received\]' none.err || fail "no reason given: $(cat none.err)"
[ ! -e none.txt ] || fail "a receive of nothing wrote a file"
kill %% 2>/dev/null || true

# No port: a usage error.
set +e
"$CLI" send points.csv 2> usage.err
status=$?
set -e
[ "$status" = 2 ] || fail "send without a port: status $status"
grep -q '\[cli_needs_port\]' usage.err || fail "no reason given: $(cat usage.err)"

[ "$failures" = 0 ] && echo "all transfers passed"
exit "$failures"
