# Shared steps of the end-to-end scripts. Arguments of every script:
#   GAME SEND_CLOSE_REQUEST SOURCE_DIR ARTIFACTS_DIR [more of the script's own]
# Each script runs its body inside one virtual X display.
set -u
arguments=("$@")
game=$1
send_close=$2
source_dir=$3
artifacts=$4
mkdir -p "$artifacts"
frame_rates=
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Re-runs the calling script inside a virtual display unless it is in one
# (E2E_XVFB_SCREEN: its screen; E2E_XVFB_EXTRA: more arguments for the X
# server).
in_virtual_display() {
  if [ -z "${E2E_IN_XVFB:-}" ]; then
    E2E_IN_XVFB=1 exec timeout -k 5 100 xvfb-run -a \
      -s "-screen 0 ${E2E_XVFB_SCREEN:-1024x768x24} ${E2E_XVFB_EXTRA:-}" \
      bash "$0" "${arguments[@]}"
  fi
}

# A small content tree: the shipped key mappings, one texture bank, no sounds
# and no music.
make_small_content() {
  local root=$1
  mkdir -p "$root/Content/Config" "$root/Content/Textures/Main" "$root/Content/Sound/Main" \
    "$root/Content/Music"
  cp "$source_dir/Content/Config/KeyMappings.json" "$root/Content/Config/"
  convert -size 64x64 xc:'rgba(255,255,255,1)' "PNG32:$root/Content/Textures/Main/Square.png"
}

# Starts the game in the folder with the given audio driver; sets game_pid.
start_game() {
  local folder=$1 audio=$2
  (cd "$folder" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER="$audio" "$game") \
    >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
}

# Waits for a window titled "Game" and sets window to its id.
# (The X tree is read directly: xdotool does not match UTF-8 window names.)
wait_for_window() {
  local tries=0
  window=
  while [ -z "$window" ] && [ $tries -lt 300 ]; do
    window=$(xwininfo -root -tree | awk '$2 == "\"Game\":" {print $1; exit}')
    [ -n "$window" ] || kill -0 "$game_pid" 2>/dev/null || break
    [ -n "$window" ] || sleep 0.1
    tries=$((tries + 1))
  done
  [ -n "$window" ] || fail "no window titled Game appeared; stderr: $(cat "$work/stderr")"
}

# Waits for the game to end and sets status to its exit status.
wait_for_game() {
  status=0
  wait "$game_pid" || status=$?
}

# The colour of one pixel of a PNG, as "R G B".
pixel_of() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# Starts weston's X11 back end on a socket, with more of its arguments: no panel,
# no idle lock, a plain 0x303030 desktop (so a window is all that differs).
start_weston() {
  local socket=$1
  shift
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff303030\nlocking=false\n' \
    >"$work/weston.ini"
  weston --config="$work/weston.ini" --backend=x11-backend.so --socket="$socket" "$@" \
    >"$work/weston.log" 2>&1 &
  weston_pid=$!
  trap 'kill $weston_pid 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && sleep 1 && return
    sleep 0.1
  done
  fail "weston did not start: $(tail -n 5 "$work/weston.log")"
}

# Test builds print the frames of each second. Checks that the game keeps
# 60 +- 2 of them through the next $1 seconds (the first, which may straddle
# what came before, left out); $2 names the case.
check_frame_rate() {
  local from lo hi
  from=$(($(wc -l <"$work/stderr") + 1))
  sleep "$1"
  read -r lo hi < <(tail -n +$from "$work/stderr" | awk '/^frames a second:/ && n++ {
    if (!lo || $4 < lo) lo = $4; if ($4 > hi) hi = $4 } END {print lo + 0, hi + 0}')
  [ "$lo" -ge 58 ] && [ "$hi" -le 62 ] || fail "$2: $lo to $hi frames a second"
  frame_rates+="$2 $lo-$hi; "
}

# SIGTERM ends the game with status 0 within a second, timed to the line the
# test builds print before the sanitizers' checks at exit; $1 names the case.
terminate_within_a_second() {
  local start took tries=0
  start=$(date +%s%N)
  kill -TERM "$game_pid"
  while ! grep -q '^game ended' "$work/stderr" && kill -0 "$game_pid" 2>/dev/null &&
    [ $tries -lt 500 ]; do
    sleep 0.01
    tries=$((tries + 1))
  done
  took=$((($(date +%s%N) - start) / 1000000))
  wait_for_game
  [ "$status" = 0 ] && [ $took -le 1000 ] ||
    fail "$1: SIGTERM ended the game with status $status after $took ms"
}
