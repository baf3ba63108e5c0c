#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite on virtual
# X servers with SDL's silent audio driver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DGLIMMERSET_WERROR=ON -DGLIMMERSET_TESTS=ON -DGLIMMERSET_BENCH=ON
export SDL_AUDIODRIVER=dummy
cd "${GLIMMERSET_BUILD_DIR:-$root/build}"
"$root/scripts/with-xvfb.sh" ctest --output-on-failure -j2 "$@"
