#!/usr/bin/env bash
# Start-up time of the desktop program under a virtual X display: from the
# process start to the first doll frame presented, for each corpus doll (or
# the sample doll), beside the time of the headless `lumadoll-tool render`
# of the same doll (load, script start, one frame written). Best of RUNS.
# usage: scripts/bench-startup.sh [BUILD] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
top=$(cd "$(dirname "$0")/.." && pwd)
app="$build/src/app/lumadoll"
tool="$build/src/cli/lumadoll-tool"
[ -x "$app" ] && [ -x "$tool" ] || { echo "bench-startup: build lumadoll and lumadoll-tool first"; exit 0; }
command -v xvfb-run > /dev/null || { echo "bench-startup: xvfb-run is missing"; exit 0; }

dolls=()
corpus="$top/../shared/corpus/dolls"
if [ -d "$corpus" ]; then
  while IFS=$'\t' read -r archive cnf _; do
    [ "$archive" = archive ] || [ "$cnf" = - ] && continue
    dolls+=("$corpus/$archive")
  done < "$corpus/manifest.tsv"
else
  dolls=("$top/samples/demo/demo.cnf")
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/lumadoll-bench.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/Velmora"
printf '[Options]\nShow%%20Tips=0\nSingle%%20Instance=0\nFile%%20Association=0\n' \
  > "$home/config/Velmora/Lumadoll.conf"
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" SDL_AUDIODRIVER=dummy

now_ms() { date +%s%3N; }

# One X server for all runs, so its own start is not counted.
display_log="$home/xvfb.log"
for n in $(seq 90 120); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp > "$display_log" 2>&1 &
  xvfb_pid=$!
  sleep 1
  if kill -0 "$xvfb_pid" 2> /dev/null; then export DISPLAY=":$n"; break; fi
done
[ -n "${DISPLAY:-}" ] || { echo "bench-startup: no X display could be started"; exit 0; }
trap 'kill "$xvfb_pid" 2> /dev/null; rm -rf "$home"' EXIT

printf '%-14s %14s %14s\n' doll "first frame" "tool render"
for doll in "${dolls[@]}"; do
  best_app="" best_tool=""
  for _ in $(seq "$runs"); do
    start=$(now_ms)
    line=$(LUMADOLL_FIRST_FRAME=1 "$app" "$doll" 2> /dev/null | grep '^first frame at ' || true)
    if [ -n "$line" ]; then
      ms=$(( ${line#first frame at } - start ))
      [ -z "$best_app" ] || [ "$ms" -lt "$best_app" ] && best_app=$ms
    fi
    start=$(now_ms)
    if "$tool" render "$doll" -o "$home/frame.bmp" > /dev/null 2>&1; then
      ms=$(( $(now_ms) - start ))
      [ -z "$best_tool" ] || [ "$ms" -lt "$best_tool" ] && best_tool=$ms
    fi
  done
  printf '%-14s %11s ms %11s ms\n' "$(basename "$doll")" "${best_app:-failed}" "${best_tool:-failed}"
done
