#!/usr/bin/env bash
# Installs what is missing, builds the show and its assets, and plays it. On a machine without a
# display there is no one to watch a window: the show is captured to a video file instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DGLIMMERSET_WERROR=OFF -DGLIMMERSET_TESTS=OFF -DGLIMMERSET_BENCH=OFF
cd "${GLIMMERSET_BUILD_DIR:-$root/build}/show"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: capturing the show to a video instead."
  ./glimmerset-capture --output "$root/glimmerset.mp4"
  echo "The show is in $root/glimmerset.mp4"
  exit 0
fi

# Without a sound device SDL would fail to open ALSA and the show would stop at a message box.
if [ -z "${SDL_AUDIODRIVER:-}" ] && [ ! -e /dev/snd ] && [ -z "${PULSE_SERVER:-}" ] \
   && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ] \
   && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pipewire-0" ]; then
  echo "No sound device: the show plays silently."
  export SDL_AUDIODRIVER=dummy
fi
exec ./glimmerset
