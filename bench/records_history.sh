#!/usr/bin/env bash
# Measured run: `roviro-cli history MOTOR` (the whole process) over a local store of 100,000
# visits of 1,000 motors, the goal being 20 ms. The store is made by the tool itself (one
# visit through the simulated box) and filled with sqlite3.
#
# usage: bench/records_history.sh [BUILD-FOLDER]   (default: build)
set -euo pipefail
build=${1:-build}
cli="$build/roviro-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/data"
"$cli" --data-dir "$data" --simulate download -o "$work/a.kxmc" >/dev/null 2>&1
store="$data/Trevanic/DI DU-RoviroDazo/Verlauf.sqlite"
sqlite3 "$store" <<'SQL'
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)
INSERT INTO visits SELECT
  printf('%08x-0000-4000-8000-%012x', i, i), printf('2026-12-%02dT%02d:%02d:00Z', 1 + i % 28, i % 24, i % 60),
  printf('2026-12-%02d %02d:%02d:00', 1 + i % 28, i % 24, i % 60), 'Werk ' || (i % 4), 'Firma',
  CASE i % 3 WHEN 0 THEN 'upload' ELSE 'download' END, 'motor', printf('0132%02d-%d-2', 10 + i % 1000 % 90, i % 1000),
  82, 1000 + i * 60, i % 200, i % 50, '01 02 03 02 04 03 0B 02 03 01', 'ok', NULL, 1
FROM n;
SQL
motor="013297-537-2"
"$cli" --data-dir "$data" history "$motor" >/dev/null
runs=20
start=$(date +%s%N)
for _ in $(seq $runs); do "$cli" --data-dir "$data" history "$motor" >/dev/null; done
end=$(date +%s%N)
visits=$("$cli" --data-dir "$data" history "$motor" | sed -n 1p)
echo "$visits"
echo "history MOTOR over $(sqlite3 "$store" 'SELECT COUNT(*) FROM visits') visits: $(((end - start) / runs / 1000)) us per run (goal 20000 us)"
