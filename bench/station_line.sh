#!/usr/bin/env bash
# Measured run: the production station writes and verifies MOTORS motors that a paced simulated
# line (`roviro-cli sim --line MOTORS --pace`) brings one after the other, and says where each
# motor's time went: the write and the read-back against their floors (746 ms and 1,030 ms at
# 9600 baud), waiting for the motor after its arrival, and seeing the previous motor go.
#   bench/station_line.sh BUILD_DIR [MOTORS] [GAP_MS]
set -uo pipefail
build=${1:?build folder holding roviro-cli}
motors=${2:-20}
gap=${3:-500}
cli="$build/roviro-cli"
work=$(mktemp -d)
data="$work/data"
mkdir -p "$data"

# The set: read from the built-in simulated motor of the first catalogue's type.
"$cli" --data-dir "$data" --simulate download -o "$work/set.kxmc" 2>/dev/null || exit 1
"$cli" --data-dir "$data" sim --line "$motors" --line-gap "$gap" --pace >"$work/sim.out" \
  2>/dev/null &
sim=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.1
done
port=$(head -1 "$work/sim.out")
"$cli" --data-dir "$data" --port "$port" station --set "$work/set.kxmc" --verify \
  --count "$motors" --json >"$work/station.out" 2>"$work/station.err"
rc=$?
sleep 0.3  # the simulator tells an arrival within 100 ms
kill "$sim" 2>/dev/null
wait "$sim" 2>/dev/null

python3 - "$work/station.out" "$work/sim.out" <<'PY'
import json, sys
from datetime import datetime
lines = [json.loads(l) for l in open(sys.argv[1]) if l.strip()]
arrived = {}
for l in open(sys.argv[2]).read().splitlines()[1:]:
    words = l.split()
    if len(words) == 4 and words[0] == "motor" and words[2] == "arrived":
        arrived[int(words[1])] = int(words[3])
motors = [l for l in lines if "n" in l]
summary = next(l["summary"] for l in lines if "summary" in l)
n = len(motors)
print(f"motors: {n}, verified: {summary['verified']}, refused: {summary['refused']}, "
      f"failed: {summary['failed']}")
ms = [m["ms"] for m in motors]
print(f"write + read-back per motor: mean {sum(ms)/n:.0f} ms, min {min(ms)}, max {max(ms)} "
      f"(floor 746 + 1030 = 1776 ms)")
latency = []
for m in motors:
    start = datetime.fromisoformat(m["start"]).timestamp() * 1000
    if m["n"] in arrived:
        latency.append(start - arrived[m["n"]])
if latency:
    print(f"from arrival to the write's start: mean {sum(latency)/len(latency):.0f} ms, "
          f"max {max(latency):.0f} ms")
cycle = summary["elapsedMs"] / n
print(f"per motor: {cycle:.0f} ms in all; seeing the motor go "
      f"{summary['waitingForLeavingMs']/max(n-1,1):.0f} ms, waiting for the next "
      f"{summary['waitingForMotorsMs']/n:.0f} ms (the line's own gap included); "
      f"{summary['motorsPerHour']} motors per hour")
PY
status=$?
rm -rf "$work"
[ $rc -eq 0 ] && [ $status -eq 0 ]
