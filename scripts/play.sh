#!/usr/bin/env bash
# Installs what is missing, builds the show and its assets, and plays it. Without a display the
# show plays on a virtual X server so that it still runs to its end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DGLIMMERSET_WERROR=OFF -DGLIMMERSET_TESTS=OFF -DGLIMMERSET_BENCH=OFF
cd "${GLIMMERSET_BUILD_DIR:-$root/build}/show"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: playing the show on a virtual X server."
  exec "$root/scripts/with-xvfb.sh" ./glimmerset
fi
exec ./glimmerset
