#!/usr/bin/env bash
# Fuzzes the .ebr model reader with libFuzzer (clang++, address and undefined-behaviour sanitizers)
# for the given number of seconds (default 60), seeded from the corpus kept in the repository. 0 seconds
# replays every input of the corpora once and stops.
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

if [ "$seconds" -eq 0 ]; then
  limit=(-runs=0)
else
  limit=(-max_total_time="$seconds")
fi
# New inputs go to the working corpus in the build folder; the seeds in the repository stay as they are.
"$out/ebr_fuzzer" "${limit[@]}" -max_len=4096 -timeout=10 -malloc_limit_mb=64 \
  -print_final_stats=1 -artifact_prefix="$out/artifacts/" \
  "$out/corpus" "$root/tests/assets/models/fuzz/corpus"
