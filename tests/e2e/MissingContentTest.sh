# A missing key mappings file ends the run with status 1, a line on standard
# error naming the file and a message box; without a display the game says so.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

make_small_content "$work/game"
rm "$work/game/Content/Config/KeyMappings.json"
start_game "$work/game" dummy
# The message box is titled like the game.
wait_for_window
"$send_close" "$window" || fail "could not close the message box"
wait_for_game
[ "$status" = 1 ] || fail "the game ended with status $status, not 1"
grep -q 'Content/Config/KeyMappings.json' "$work/stderr" ||
  fail "standard error does not name the file: $(cat "$work/stderr")"
[ "$(grep -v -c -E '^(ALSA|error: XDG|game ended)' "$work/stderr")" = 1 ] ||
  fail "more than one line of message: $(cat "$work/stderr")"

# No display: no window, a message saying so, status 1.
make_small_content "$work/nodisplay"
status=0
(cd "$work/nodisplay" && env -u DISPLAY -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY \
  SDL_AUDIODRIVER=dummy timeout -k 5 20 "$game") >/dev/null 2>"$work/stderr" || status=$?
[ "$status" = 1 ] || fail "without a display the game ended with status $status"
grep -q 'no display' "$work/stderr" || fail "no message about the display: $(cat "$work/stderr")"
echo "PASS"
