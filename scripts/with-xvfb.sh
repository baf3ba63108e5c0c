#!/usr/bin/env bash
# Runs a command with two fresh virtual X servers on free display numbers: DISPLAY at 800x600 (the
# show's own mode) and GLIMMERSET_SCALED_DISPLAY at 1280x720 (a wide screen where the picture is scaled with bars).
# Mesa's software OpenGL renders on both. -noreset: like a desktop's server, they stay up between
# programs; by default an X server resets when its last client leaves and refuses connections for
# those milliseconds, which a test starting the next program at that moment would take for no display.
set -euo pipefail

start_xvfb() {  # $1: screen size; prints the display number
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset +extension GLX 3>"$fifo" >/dev/null 2>&1 &
  echo $! >>"$pids"
  local n; read -r n <"$fifo"; rm -f "$fifo"
  echo "$n"
}

pids=$(mktemp)
cleanup() { xargs -r kill <"$pids" 2>/dev/null || true; rm -f "$pids"; }
trap cleanup EXIT

main=$(start_xvfb 800x600x24)
scaled=$(start_xvfb 1280x720x24)
export DISPLAY=":$main" GLIMMERSET_SCALED_DISPLAY=":$scaled"
"$@"
