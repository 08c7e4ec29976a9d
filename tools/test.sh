#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors), fuzzes each content loader
# for a few seconds, runs the audio engine's tests under ThreadSanitizer, and
# runs every test through ctest: unit tests,
# end-to-end runs in a virtual display, the content generator's reproduction
# of Content/ and the formatting of the sources.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake --preset test >/dev/null
cmake --build --preset test -j "$(nproc)"

# A short run of every loader's fuzzer first (the campaign: tools/fuzz.sh SECONDS).
tools/fuzz.sh 5

# The audio engine's tests under ThreadSanitizer, with those on SDL's audio
# devices: its threads (the device's, the watcher's, the decoders') against
# the game's.
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$(nproc)" --target audio_tests platform_tests
(cd build/tsan/tests && export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" &&
  ./audio_tests --gtest_brief=1 && ./platform_tests --gtest_brief=1 --gtest_filter='SdlAudioDevice.*')

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan-suppressions.txt}"
ctest --preset test -j "$(nproc)"
