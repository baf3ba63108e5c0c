#!/usr/bin/env bash
# Configures and builds the show, its tools, tests and benchmarks into build/ (the show and its
# generated assets land in build/show/). Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${GLIMMERSET_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
