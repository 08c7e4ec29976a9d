# The OpenGL path on a scaled output, as on a high-DPI laptop: under weston
# with --scale=2 the game draws into a buffer of the window's real pixels,
# twice its size (the test build prints the size it draws into), not one
# the compositor enlarges. SIGTERM then ends it with status 0.
E2E_XVFB_SCREEN=2048x1536x24
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

start_weston game-hidpi --width=2000 --height=1480 --scale=2

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
(cd "$work/game" && unset DISPLAY && exec env WAYLAND_DISPLAY=game-hidpi SDL_VIDEODRIVER=wayland \
  SDL_RENDER_DRIVER=opengl SDL_AUDIODRIVER=dummy "$game") >"$work/stdout" 2>"$work/stderr" &
game_pid=$!
for _ in $(seq 100); do
  grep -q "GL drawable" "$work/stderr" && break
  sleep 0.1
done
drawable=$(grep -m1 -o "GL drawable: [0-9]*x[0-9]*" "$work/stderr" | cut -d' ' -f3)
kill -TERM "$game_pid"
wait_for_game
[ "${drawable%%x*}" = 1600 ] ||
  fail "the OpenGL path drew into ${drawable:-nothing} on an output scaled by 2; stderr: $(cat "$work/stderr")"
[ "$status" = 0 ] || fail "the game ended with status $status; stderr: $(cat "$work/stderr")"
echo "PASS: on an output scaled by 2 the OpenGL path draws into $drawable pixels"
