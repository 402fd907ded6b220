#!/usr/bin/env bash
# Measured run: STATIONS stations start PER_STATION roviro-cli downloads each, all at once, into
# one shared data folder. Every download has a simulated box of its own (`roviro-cli sim`) with
# a motor of its own identity, and writes the same file name into a folder of its own. Counts
# the failed downloads and the backups, and checks that each backup lies in its motor's folder
# and holds that motor's set.
#   bench/parallel_downloads.sh BUILD_DIR [STATIONS] [PER_STATION]
set -uo pipefail
build=${1:?build folder holding roviro-cli}
stations=${2:-4}
per=${3:-25}
cli="$build/roviro-cli"
work=$(mktemp -d)
data="$work/data"
mkdir -p "$data"
total=$((stations * per))

sims=()
ports=()
for ((i = 0; i < total; i++)); do
  id=$(printf '12 34 %02X' $(((i * 8) % 256)))  # variant 0, a type of its own per motor
  [ $i -ge 32 ] && id=$(printf '12 %02X %02X' $((0x35 + i / 32)) $(((i * 8) % 256)))
  "$cli" --data-dir "$data" sim --motor "$id" >"$work/sim$i.out" 2>/dev/null &
  sims+=($!)
done
for ((i = 0; i < total; i++)); do
  for _ in $(seq 100); do
    [ -s "$work/sim$i.out" ] && break
    sleep 0.1
  done
  ports+=("$(head -1 "$work/sim$i.out")")
done

start=$(date +%s.%N)
pids=()
for ((s = 0; s < stations; s++)); do
  for ((j = 0; j < per; j++)); do
    i=$((s * per + j))
    mkdir -p "$work/station$s/job$j"
    "$cli" --data-dir "$data" --port "${ports[$i]}" download -o "$work/station$s/job$j/set.kxmc" \
      >/dev/null 2>"$work/dl$i.err" &
    pids+=($!)
  done
done
failed=0
for p in "${pids[@]}"; do wait "$p" || failed=$((failed + 1)); done
end=$(date +%s.%N)
for p in "${sims[@]}"; do kill "$p" 2>/dev/null; done
wait 2>/dev/null

backups=0
misfiled=0
for f in "$data"/Trevanic/DI\ DU-RoviroDazo/Sicherungen/*/*.kxmc; do
  [ -f "$f" ] || continue
  backups=$((backups + 1))
  folder=$(basename "$(dirname "$f")")
  identity=$("$cli" show --json "$f" | sed -n 's/.*"motorIdentity": *"0x\([0-9A-F]*\)".*/\1/p')
  [ "${folder:0:6}" = "$identity" ] || misfiled=$((misfiled + 1))
done
folders=$(ls "$data"/Trevanic/DI\ DU-RoviroDazo/Sicherungen | wc -l)
echo "downloads: $total ($stations x $per at once), failed: $failed"
echo "backups: $backups in $folders motor folders, not holding their folder's motor: $misfiled"
printf 'wall time: %.1f s\n' "$(echo "$end - $start" | bc)"
grep -h . "$work"/dl*.err | sort | uniq -c | sort -rn | head -5
rm -rf "$work"
[ "$failed" -eq 0 ] && [ "$backups" -eq "$total" ] && [ "$misfiled" -eq 0 ]
