# The window appears titled "Game" at 800 x 600, shows the clear colour, and a
# close request, SIGTERM or SIGINT (Ctrl+C) ends the run with status 0 within
# two seconds.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

make_small_content "$work/game"
start_game "$work/game" dummy
wait_for_window

size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "800x600" ] || fail "window size is $size, not 800x600; stderr: $(cat "$work/stderr")"

sleep 1.5
import -window "$window" "$work/window.png"
cp "$work/window.png" "$artifacts/window.png"
# No sprite has a texture of the bank's, so the frame is the clear colour:
# one colour over the whole window, drifting on three sines of game time.
colours=$(convert "$work/window.png" -unique-colors txt:- | grep -c -v '^#')
[ "$colours" -le 2 ] || fail "the window shows $colours colours, not one clear colour"
read -r red green blue < <(pixel_of "$work/window.png" 400 300)
awk -v r="$red" -v g="$green" -v b="$blue" 'BEGIN {
  for (t = 0; t < 20; t += 1 / 60) {
    er = int(255 * (0.5 * sin(t) + 0.5)); eg = int(255 * (0.5 * sin(t * 0.77) + 0.5));
    eb = int(255 * (0.5 * sin(t * 0.55) + 0.5));
    if ((r - er) ^ 2 <= 9 && (g - eg) ^ 2 <= 9 && (b - eb) ^ 2 <= 9) exit 0
  }
  exit 1 }' || fail "the colour $red $green $blue is not a clear colour of the drift"

"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "closing the window ended the game with status $status"

# A background job of a script starts with SIGINT ignored; the game is
# started with it at its default, as from a terminal.
cd "$work/game"
for signal in TERM INT; do
  env --default-signal=INT SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$game" \
    >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
  wait_for_window
  kill -"$signal" "$game_pid"
  for _ in $(seq 40); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$game_pid" 2>/dev/null && { kill -KILL "$game_pid"; fail "SIG$signal left the game running for 2 s"; }
  wait_for_game
  [ "$status" = 0 ] || fail "SIG$signal ended the game with status $status"
done
echo "PASS"
