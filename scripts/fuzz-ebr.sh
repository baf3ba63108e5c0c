#!/usr/bin/env bash
# Fuzzes the .ebr model reader with libFuzzer (clang++, address and undefined-behaviour sanitizers)
# for the given number of seconds (default 60), seeded from the corpus kept in the repository.
# Builds into $GLIMMERSET_FUZZ_DIR (default build/fuzz). Exits non-zero if the fuzzer finds a crash,
# a sanitizer report, a leak or a mismatch; the failing input is left in the artifacts folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${GLIMMERSET_FUZZ_DIR:-$root/build/fuzz}
mkdir -p "$out/corpus" "$out/artifacts"

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" \
  "$root/tests/assets/models/fuzz/ebr_fuzzer.cpp" "$root/assets/model.cpp" "$root/assets/vec3.cpp" \
  -o "$out/ebr_fuzzer"

# New inputs go to the working corpus in the build folder; the seeds in the repository stay as they are.
"$out/ebr_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -malloc_limit_mb=64 \
  -print_final_stats=1 -artifact_prefix="$out/artifacts/" \
  "$out/corpus" "$root/tests/assets/models/fuzz/corpus"
