#!/usr/bin/env bash
# Fuzzes the audio layer's MP3 streams (open, virtual playback, spectra, seeking, whole decode) with
# libFuzzer (clang++, address and undefined-behaviour sanitizers) for the given number of seconds
# (default 60), seeded from the corpus kept in the repository. 0 seconds replays every input of the
# corpora once and stops. Builds into $GLIMMERSET_FUZZ_DIR (default build/fuzz-mp3). Exits non-zero
# if the fuzzer finds a crash, a hang (10 s on one input), a sanitizer report, a leak or a failed
# check; the failing input is left in the artifacts folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${GLIMMERSET_FUZZ_DIR:-$root/build/fuzz-mp3}
mkdir -p "$out/corpus" "$out/artifacts"

# shellcheck disable=SC2046
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" \
  "$root/tests/music/fuzz/mp3_fuzzer.cpp" "$root/platform/audio/bass_sdl.cpp" \
  "$root/platform/audio/mp3_decoder.cpp" "$root/platform/audio/spectrum_fft.cpp" \
  $(pkg-config --cflags --libs sdl2 libmpg123 fftw3f) \
  -o "$out/mp3_fuzzer"

if [ "$seconds" -eq 0 ]; then
  limit=(-runs=0)
else
  limit=(-max_total_time="$seconds")
fi
# New inputs go to the working corpus in the build folder; the seeds in the repository stay as they are.
"$out/mp3_fuzzer" "${limit[@]}" -max_len=16384 -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$out/artifacts/" \
  "$out/corpus" "$root/tests/music/fuzz/corpus"
