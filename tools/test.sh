#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors), and runs every test through
# ctest: unit tests, end-to-end runs in a virtual display, the content
# generator's reproduction of Content/ and the formatting of the sources.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake --preset test >/dev/null
cmake --build --preset test -j "$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --preset test -j "$(nproc)"
