# Under a real window manager the window's outer size, frame included, is
# 800 x 600: the client area is what the frame leaves. The user can maximise
# it (the frame then fills the client area) and minimise it, and it returns
# to its size; any other size is undone. On both drawing paths the game keeps
# 60 frames a second, shown and minimised, and SIGTERM ends it within a second.
# Where a compositing manager runs, OpenGL's presents do not wait.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

openbox >/dev/null 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; rm -rf "$work"' EXIT
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tries=$((tries + 1))
  [ $tries -lt 100 ] || fail "the window manager did not start"
  sleep 0.1
done

make_small_content "$work/game"
start_game "$work/game" dummy
wait_for_window

# The frame's extents (left, right, top, bottom) and the client's size,
# polled until they add up or two seconds pass.
outer=
for _ in $(seq 40); do
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ,)
  client=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
  if [ -n "$extents" ]; then
    outer=$(echo "$extents $client" | awk '{print $5 + $1 + $2 "x" $6 + $3 + $4}')
    [ "$outer" = "800x600" ] && break
  fi
  sleep 0.05
done
[ -n "$extents" ] || fail "the window manager gave the window no frame"
[ "$outer" = "800x600" ] ||
  fail "outer size $outer (frame $extents, client $client), not 800x600"
check_frame_rate 3 "compositor, shown"

client_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# Polls until the client size is (or, with "!", is no longer) the one given.
wait_for_size() {
  for _ in $(seq 60); do
    now=$(client_size)
    if [ "$1" = "!" ]; then [ "$now" != "$2" ] && return 0; else [ "$now" = "$1" ] && return 0; fi
    sleep 0.05
  done
  return 1
}
restored=$(client_size)

# Maximised, the frame fills the larger client area, scaled: one clear colour
# from corner to corner.
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
wait_for_size ! "$restored" || fail "the window manager did not maximise the window"
maximised=$(client_size)
sleep 0.3
import -window "$window" "$work/maximised.png"
cp "$work/maximised.png" "$artifacts/maximised.png"
corner=$(pixel_of "$work/maximised.png" $((${maximised%x*} - 2)) $((${maximised#*x} - 2)))
centre=$(pixel_of "$work/maximised.png" $((${maximised%x*} / 2)) $((${maximised#*x} / 2)))
[ "$corner" = "$centre" ] || fail "maximised to $maximised, the corner shows $corner, the centre $centre"

# Restored, it has its own size again; a size asked any other way is undone;
# minimised and shown again, it keeps its size.
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
wait_for_size "$restored" || fail "restored to $(client_size), not $restored"
xdotool windowsize "$window" 500 400
sleep 0.5
wait_for_size "$restored" || fail "resized to $(client_size), not back to $restored"
xdotool windowminimize "$window"
sleep 0.3
xprop -id "$window" _NET_WM_STATE | grep -q HIDDEN || fail "the window was not minimised"
check_frame_rate 5 "compositor, minimised"
wmctrl -i -a "$window"
sleep 0.3
wait_for_size "$restored" || fail "shown again at $(client_size), not $restored"

"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "closing the window ended the game with status $status"

"$(dirname "$send_close")/HoldCompositorSelection" >"$work/selection" 2>&1 &
holder_pid=$!
trap 'kill $wm_pid $holder_pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do grep -q owned "$work/selection" && break || sleep 0.1; done
export SDL_RENDER_DRIVER=opengl
start_game "$work/game" dummy
wait_for_window
grep -q "GL presents: interval 0 asked.*; composited" "$work/stderr" ||
  fail "under a compositing manager: $(grep "GL presents" "$work/stderr")"
check_frame_rate 3 "OpenGL, shown"
xdotool windowminimize "$window"
check_frame_rate 5 "OpenGL, minimised"
terminate_within_a_second OpenGL
echo "PASS (frame $extents, client $client, maximised $maximised; frames a second: $frame_rates)"
