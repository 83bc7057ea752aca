#!/usr/bin/env bash
# Checking a whole collection: `lumadoll-tool check FOLDER -j 2` against the
# same dolls checked one process at a time, over the corpus (best of RUNS,
# default 3). Prints both times and their ratio.
set -euo pipefail
build=${1:-build}
runs=${2:-3}
top=$(cd "$(dirname "$0")/.." && pwd)
tool="$build/src/cli/lumadoll-tool"
corpus="$top/../shared/corpus"
if [ ! -d "$corpus" ]; then
  echo "bench-check-collection: no corpus at $corpus, skipped"
  exit 0
fi
mapfile -t dolls < <(find "$corpus" -type f \( -iname '*.cnf' -o -iname '*.lzh' -o -iname '*.lha' \) | sort)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a - b }'; }
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(b == "" || a < b) }'; }
best_parallel=""
best_serial=""
for ((r = 0; r < runs; r++)); do
  start=$(now)
  "$tool" check "$corpus" -j 2 --json "$scratch/records.json" >"$scratch/lines.txt" || true
  t=$(minus "$(now)" "$start")
  less "$t" "$best_parallel" && best_parallel=$t

  start=$(now)
  for doll in "${dolls[@]}"; do
    "$tool" check "$doll" >/dev/null 2>&1 || true
  done
  t=$(minus "$(now)" "$start")
  less "$t" "$best_serial" && best_serial=$t
done
echo "== check over the corpus: ${#dolls[@]} dolls, best of $runs"
printf '  check FOLDER -j 2            %8.2f s\n' "$best_parallel"
printf '  one process per doll, serial %8.2f s\n' "$best_serial"
awk -v s="$best_serial" -v p="$best_parallel" 'BEGIN { printf "  ratio (serial / -j 2)        %8.2f\n", s / p }'
tail -n 1 "$scratch/lines.txt" | sed 's/^/  /'
