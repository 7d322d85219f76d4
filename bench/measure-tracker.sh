#!/usr/bin/env bash
# Starts the tracker under Xvfb with a tray, lets it count for a while
# with two helper windows taking turns in front, and prints its CPU share and memory.
# usage: bench/measure-tracker.sh [seconds] [build folder]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$here/build-bench}
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

cp "$build/bin/horalog" "$work/"
mkdir -p "$work/config/Brannoc" "$work/runtime" "$work/a" "$work/b"
chmod 700 "$work/runtime"
printf '[General]\nVersion=2.0\n\n[Options]\nedUser_Text=bench\ncbAutoStartTimer_Checked=True\ncbAutoHide_Checked=False\nedSaveTime_Value=1\n' \
  > "$work/config/Brannoc/Horalog.conf"
cp "$build/bin/e2e_xhelper" "$work/a/editor"
cp "$build/bin/e2e_xhelper" "$work/b/browser"

for n in $(seq 60 69); do [ -e /tmp/.X11-unix/X$n ] || break; done
Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:$n
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 32 >/dev/null 2>&1 & pids+=($!)
"$work/a/editor" "Editing notes" > "$work/a.id" & pids+=($!)
"$work/b/browser" "Reading news" > "$work/b.id" & pids+=($!)
sleep 1
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 "$work/horalog" & tracker=$!
pids+=($tracker)
sleep 3
start_ns=$(awk '{print $1}' /proc/$tracker/schedstat)
start_t=$(date +%s.%N)
end=$(( $(date +%s) + seconds ))
turn=0
while [ "$(date +%s)" -lt "$end" ]; do
  if [ $turn = 0 ]; then id=$(cat "$work/a.id"); else id=$(cat "$work/b.id"); fi
  # No window manager: the foreground is announced by hand, as CARDINAL, which the tracker
  # reads as well as the proper WINDOW type.
  xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$id"
  turn=$((1 - turn))
  sleep 5
done
end_ns=$(awk '{print $1}' /proc/$tracker/schedstat)
end_t=$(date +%s.%N)
rss=$(awk '/VmRSS/ {print $2}' /proc/$tracker/status)
pss=$(awk '/^Pss:/ {print $2}' /proc/$tracker/smaps_rollup)
kill -TERM $tracker; wait $tracker 2>/dev/null || true
awk -v a="$start_ns" -v b="$end_ns" -v s="$start_t" -v e="$end_t" -v r="$rss" -v p="$pss" 'BEGIN {
  printf "CPU %.3f %% of one core over %.0f s; VmRSS %.1f MB; Pss %.1f MB\n", (b-a)/1e9/(e-s)*100, e-s, r/1024, p/1024 }'
echo "--- store after SIGTERM:"
cat "$work/hg20work.txt" | tr '\t' ' '
echo "--- catalogue:"
cat "$work/hg20task.txt" | tr '\t' ' '
