#!/usr/bin/env bash
# Soak: plays the whole show N times back to back (default 10, about 72 s each) from the build's show
# folder, on a virtual X server with SDL's silent audio driver, and samples resident memory every
# second (VmRSS in /proc/PID/status) of the show and of the X server it draws on. Prints, per show,
# its exit status, how long it ran, the peak and the last sample of its own memory, and the X
# server's memory after it; fails if a show ends with a status other than 0 or if memory grows from
# one show to the next: a show's peak more than 5% above the first show's, or the X server after the
# last show more than 5% above its figure after the first.
# Builds nothing: build first (scripts/build.sh). GLIMMERSET_BUILD_DIR chooses the build (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shows=${1:-10}
show_dir=${GLIMMERSET_BUILD_DIR:-$root/build}/show
[ -x "$show_dir/glimmerset" ] || { echo "No show in $show_dir: build it first (scripts/build.sh)" >&2; exit 1; }

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Its own X server at the show's size, so that its memory can be watched too.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset +extension GLX 3>"$fifo" >/dev/null 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r display_number <"$fifo"
export DISPLAY=":$display_number"

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

printf '%-5s %-7s %-9s %-14s %-13s %-15s\n' show status seconds "peak RSS (MB)" "end RSS (MB)" "X server (MB)"
first_peak=0
first_server=0
last_server=0
failed=0
for n in $(seq 1 "$shows"); do
  (cd "$show_dir" && exec ./glimmerset) >/dev/null 2>&1 &
  pid=$!
  start=$(date +%s)
  peak=0
  last=0
  while kill -0 "$pid" 2>/dev/null; do
    rss=$(rss_kb "$pid")
    if [ "${rss:-0}" -gt 0 ]; then
      last=$rss
      [ "$rss" -gt "$peak" ] && peak=$rss
    fi
    sleep 1
  done
  status=0
  wait "$pid" || status=$?
  seconds=$(($(date +%s) - start))
  server=$(rss_kb "$server_pid")
  printf '%-5s %-7s %-9s %-14s %-13s %-15s\n' "$n" "$status" "$seconds" \
    "$(awk -v k="$peak" 'BEGIN {printf "%.1f", k / 1024}')" "$(awk -v k="$last" 'BEGIN {printf "%.1f", k / 1024}')" \
    "$(awk -v k="$server" 'BEGIN {printf "%.1f", k / 1024}')"
  [ "$status" -eq 0 ] || failed=1
  if [ "$n" -eq 1 ]; then
    first_peak=$peak
    first_server=$server
  elif [ $((peak * 100)) -gt $((first_peak * 105)) ]; then
    echo "show $n peaked at ${peak} kB, more than 5% above the first show's ${first_peak} kB" >&2
    failed=1
  fi
  last_server=$server
done
if [ $((last_server * 100)) -gt $((first_server * 105)) ]; then
  echo "the X server grew from ${first_server} kB after the first show to ${last_server} kB" >&2
  failed=1
fi
exit "$failed"
