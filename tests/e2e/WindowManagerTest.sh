# Under a real window manager the window's outer size, frame included, is
# 800 x 600: the client area is what the frame leaves.
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

"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "closing the window ended the game with status $status"
echo "PASS (frame $extents, client $client)"
