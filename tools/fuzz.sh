#!/usr/bin/env bash
# Fuzzes the game's content loaders with libFuzzer (clang, AddressSanitizer
# and UndefinedBehaviorSanitizer): builds the harnesses, then runs each for
# SECONDS (default 600), seeded from Content/. Corpora grow under
# build/fuzz/corpus/<loader>; a finding is saved as build/fuzz/findings/<loader>-*
# and ends the run with status 1. Usage:
#   tools/fuzz.sh [SECONDS] [LOADER...]   LOADER: KeyMappings Cue LoopPoints Texture Sample Music
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
loaders=("$@")
[ ${#loaders[@]} -gt 0 ] || loaders=(KeyMappings Cue LoopPoints Texture Sample Music)

tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${loaders[@]/%/Fuzzer}" >/dev/null

seeds() {
  case $1 in
    KeyMappings) echo Content/Config/*.json ;;
    Cue) echo Content/Sound/Main/*.json ;;
    LoopPoints) echo Content/Music/*.json ;;
    Texture) echo Content/Textures/Main/*.png ;;
    Sample) echo Content/Sound/Main/*.wav ;;
    Music) echo Content/Music/*.ogg Content/Sound/Main/*.wav ;;
  esac
}
longest() {
  case $1 in
    Texture) echo 16384 ;;
    Sample | Music) echo 65536 ;;
    *) echo 4096 ;;
  esac
}

mkdir -p build/fuzz/findings
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
for loader in "${loaders[@]}"; do
  corpus=build/fuzz/corpus/$loader
  mkdir -p "$corpus"
  # shellcheck disable=SC2046
  cp -n $(seeds "$loader") "$corpus/" || true
  echo "== $loader: $seconds s"
  log=build/fuzz/$loader.log
  if ! build/fuzz/fuzz/${loader}Fuzzer "$corpus" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len="$(longest "$loader")" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/$loader-" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAIL: the $loader loader has a fault; the input is in build/fuzz/findings/"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log" | sed 's/.*: /  inputs run: /'
done
echo "Fuzzing found nothing in ${loaders[*]}."
