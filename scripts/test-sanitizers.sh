#!/usr/bin/env bash
# Builds the show with sanitizers and runs its tests under them, on virtual X servers with SDL's
# silent audio driver (installing what is missing first):
#  1. AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (preset asan, build-asan/): the
#     whole test suite, with the fuzz targets replaying their corpora, the programs and packages the
#     tests start, and the full 71-second show (full_show_test, built only there).
#  2. ThreadSanitizer (preset tsan, build-tsan/): the tests of the audio layer and its device thread
#     (bass_test, music_test, soundtrack_test: ctest label audio).
# Any report ends the process that made it, which fails its test. The suppression files in
# tools/sanitizers/ name system libraries only, each with its reason; nothing of ours is suppressed.
# Extra arguments go to the AddressSanitizer run's ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
suppressions=$root/tools/sanitizers
export SDL_AUDIODRIVER=dummy

# allocator_may_return_null: a failed allocation gives null, as the standard has it for the nothrow
# forms the loaders use (the default ends the process instead).
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
(cd build-asan && "$root/scripts/with-xvfb.sh" ctest --output-on-failure -j2 "$@")

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$(nproc)" --target bass_test music_test soundtrack_test soundtrack_mp3
(cd build-tsan && "$root/scripts/with-xvfb.sh" ctest --output-on-failure -j2 -L audio)
