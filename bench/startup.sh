#!/usr/bin/env bash
# Times the start-up of the real program under Xvfb: from its launch until
# its main window is shown, and its resident memory then, beside the same for
# a bare Qt window (the second argument). Prints table rows.
set -euo pipefail
program=$(realpath "$1")
bare=$(realpath "$2")
runs=${3:-9}
# Xvfb picks a free display and names it once it is ready.
ready=$(mktemp)
log=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3> "$ready" > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null; wait $xvfb 2> /dev/null; rm -f "$ready" "$log"' EXIT
for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.05; done
display=":$(head -n 1 "$ready")"
until xdpyinfo -display "$display" > /dev/null 2>&1; do sleep 0.05; done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Median start-up (ms) and resident memory (kB) of a program over the runs.
measure() {
  local times=() rss=()
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    DISPLAY=$display "$1" > /dev/null 2> "$log" &
    pid=$!
    until DISPLAY=$display xdotool search --onlyvisible --pid "$pid" > /dev/null 2>&1; do
      kill -0 "$pid" 2> /dev/null || { echo "$1 ended before its window showed:" >&2; cat "$log" >&2; exit 1; }
    done
    shown=$(date +%s%N)
    rss+=("$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    times+=("$(( (shown - start) / 1000000 ))")
  done
  echo "$(median "${times[@]}") $(median "${rss[@]}")"
}
read -r ms kb <<< "$(measure "$program")"
read -r bare_ms bare_kb <<< "$(measure "$bare")"
printf '| %-46s | %10s | %-22s |\n' "start-up to the main window shown" "$ms" "< 300"
printf '| %-46s | %10s | %-22s |\n' "  the same for a bare Qt window" "$bare_ms" "(yardstick)"
printf '| %-46s | %10s | %-22s |\n' "  Pawfolio / bare" "$(awk -v a="$ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')" "<= 1.3"
printf '| %-46s | %7s MB | %-22s |\n' "resident memory then" "$(( kb / 1024 ))" "< 80 MB"
printf '| %-46s | %7s MB | %-22s |\n' "  the same for a bare Qt window" "$(( bare_kb / 1024 ))" "(yardstick)"
