#!/usr/bin/env bash
# Measured run: COUNT transfers through roviro-cli against a simulated box that damages
# PERCENT % of its replies (one bit flipped): downloads and verified uploads of one set in turn.
# A download that succeeds must hold exactly the set (diff against it), an upload that
# succeeds must have been verified; anything else that exits 0 is a silent corruption.
#   bench/soak_transfers.sh BUILD_DIR [COUNT] [PERCENT] [SEED]
set -uo pipefail
build=${1:?build folder holding roviro-cli}
count=${2:-1000}
percent=${3:-8}
seed=${4:-7}
cli="$build/roviro-cli"
work=$(mktemp -d)
data="$work/data"
mkdir -p "$data"

serve() {  # starts a simulated box; its device path in $port, its process id in $sim
  "$cli" --data-dir "$data" sim "$@" >"$work/sim.out" 2>/dev/null &
  sim=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
  port=$(head -1 "$work/sim.out")
}
# The set, read from an undamaged box of the same motor; an upload changes what the motor
# keeps (its flag bit of block 0x2E), so the reference is read after one.
serve
"$cli" --data-dir "$data" --port "$port" download -o "$work/set.kxmc" 2>/dev/null || exit 2
"$cli" --data-dir "$data" --port "$port" upload "$work/set.kxmc" 2>/dev/null || exit 2
"$cli" --data-dir "$data" --port "$port" download -o "$work/ref.kxmc" 2>/dev/null || exit 2
kill "$sim"; wait "$sim" 2>/dev/null

serve --damage-replies "$percent" --seed "$seed"
# The damaged box's motor starts where the reference was read: after one upload.
for _ in $(seq 20); do
  "$cli" --data-dir "$data" --port "$port" upload "$work/set.kxmc" >/dev/null 2>&1 && break
done
failed=0
silent=0
detected=0
start=$(date +%s)
for ((k = 0; k < count; k++)); do
  if ((k % 2 == 0)); then
    out=$("$cli" --data-dir "$data" --port "$port" upload --verify "$work/set.kxmc" 2>&1)
    rc=$?
    if [ $rc -eq 0 ]; then
      grep -q '^verified:' <<<"$out" || silent=$((silent + 1))
    else
      failed=$((failed + 1))
      [ $rc -eq 4 ] && grep -q 'differ' <<<"$out" && detected=$((detected + 1))
    fi
  else
    rm -f "$work/got.kxmc"
    if "$cli" --data-dir "$data" --port "$port" download -o "$work/got.kxmc" >/dev/null 2>&1; then
      "$cli" diff "$work/ref.kxmc" "$work/got.kxmc" >/dev/null 2>&1 || silent=$((silent + 1))
    else
      failed=$((failed + 1))
    fi
  fi
  if (((k + 1) % 50 == 0)); then
    echo "after $((k + 1)): failed $failed, silent corruptions $silent, $(($(date +%s) - start)) s" >&2
  fi
done
end=$(date +%s)
kill "$sim"; wait "$sim" 2>/dev/null
echo "transfers: $count ($((count / 2)) verified uploads, $((count - count / 2)) downloads), replies damaged: $percent %"
echo "failed: $failed ($(echo "scale=2; 100 * $failed / $count" | bc) %), of them verify differences: $detected"
echo "silent corruptions: $silent"
echo "wall time: $((end - start)) s"
rm -rf "$work"
[ "$silent" -eq 0 ]
