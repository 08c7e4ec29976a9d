#!/usr/bin/env bash
# Fails, naming the lines, when a file of the game's logic includes a platform
# header: SDL's, X11's, Wayland's, OpenGL's or EGL's, the system's memory
# calls, or a room of shell/platform/. The logic's own two rooms, the sound
# device and the image decoder, are the exceptions.
set -euo pipefail
cd "$(dirname "$0")/.."
rooms='^(content/ImageDecoder\.cpp)$'
found=$(grep -rEn --include='*.cpp' --include='*.h' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|X11/|wayland|GL/|GLES|EGL/|sys/mman|shell/platform/)' \
  shell objects input content audio | grep -v '^shell/platform/' |
  awk -F: -v rooms="$rooms" '$1 !~ rooms' || true)
if [ -n "$found" ]; then
  echo "The logic includes platform headers:" >&2
  echo "$found" >&2
  exit 1
fi
echo "The logic includes no platform header."
