#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and runs it from the
# repository root, where Content/ is. Without a display, it runs the game for
# a few seconds in a virtual display instead and saves a screenshot and the
# captured audio under the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

build=build/release
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/Game"
fi

out="$PWD/$build/headless"
mkdir -p "$out"
echo "No display is available: running the game for a few seconds in a virtual display (Xvfb)."
export GAME_BINARY="$PWD/$build/Game" GAME_OUT="$out"
timeout -k 5 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$GAME_OUT/audio.raw" "$GAME_BINARY" &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --name "^Game$" | head -n 1)
  if [ -z "$wid" ]; then kill -TERM $pid; wait $pid; exit 1; fi
  sleep 2
  xdotool keydown space; sleep 1; xdotool keyup space
  sleep 2
  import -window "$wid" "$GAME_OUT/screenshot.png"
  kill -TERM $pid
  wait $pid
'
sox -q -t raw -r 48000 -e floating-point -b 32 -c 2 "$out/audio.raw" "$out/audio.wav"
echo "Screenshot: $out/screenshot.png"
echo "Audio:      $out/audio.wav"
