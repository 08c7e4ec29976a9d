# The game as a native Wayland client of a real compositor (weston, drawing
# into the virtual X display): on both drawing paths the frame is on screen
# in a window of outer size 800 x 600, its title bar included, and the game
# keeps 60 frames a second shown and minimised; keys reach the game; a size
# dragged at the frame's edge is undone; the title bar's boxes maximise,
# restore, minimise and close it, and closing ends the run with status 0, as
# SIGTERM does within a second.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

start_weston game-e2e --width=1000 --height=740

# The pointer rests in the output's bottom right corner, which the captures
# leave out, so that weston's cursor is never mistaken for the window. Weston
# follows the pointer once it has entered its window.
xdotool mousemove 1010 750
sleep 0.2
xdotool mousemove 998 738
sleep 0.2
# The rectangle (WxH+X+Y) of weston's output that differs from the empty
# desktop's colour: the window's frame and client area; not its faint shadow.
# (A black border first, so that the trim box is that of the white pixels.)
window_box() {
  import -window root -crop 1000x740+0+0 +repage "$work/now.png"
  convert "$work/now.png" \( +clone -fill '#303030' -colorize 100 \) -compose difference \
    -composite -separate -evaluate-sequence max -threshold 12% -fill black \
    -draw "rectangle 985,725 999,739" -bordercolor black -border 1 -format %@ info: 2>/dev/null |
    awk -F'[x+]' '{ if ($1 + 0 > 0) printf "%dx%d+%d+%d\n", $1, $2, $3 - 1, $4 - 1; else print "none" }'
}
# Polls until window_box is the size given ("none": the window is gone).
wait_for_box() {
  for _ in $(seq 100); do
    box=$(window_box)
    [ "${box%%+*}" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# Clicks the title bar's box that lies `from_right` pixels left of the
# window's right edge.
click_box() {
  local w=${box%%x*} rest=${box#*+}
  local x=${rest%%+*} y=${rest#*+}
  xdotool mousemove $((x + w - $1)) $((y + 12))
  sleep 0.2
  xdotool click 1
  sleep 0.2
  xdotool mousemove 998 738
}

# The pixels of the window's client area, below the 24-pixel title bar, in
# the last capture: the most common colour (the clear colour) and the others.
client_pixels() {
  read -r w h x y < <(echo "$box" | tr 'x+' '  ')
  read -r clear others < <(convert "$work/now.png" -crop "${w}x$((h - 24))+$x+$((y + 24))" \
    -format %c histogram:info:- | tr -d : | sort -rn |
    awk 'NR == 1 {c = $1} NR > 1 {o += $1} END {print c, o + 0}')
}

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
for path in software opengl closed; do
  (cd "$work/game" && exec env -u DISPLAY WAYLAND_DISPLAY=game-e2e SDL_VIDEODRIVER=wayland \
    SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=${path/closed/opengl} "$game") >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
  wait_for_box 800x600 ||
    fail "$path: no 800x600 window on screen (last $box); stderr: $(cat "$work/stderr")"
  cp "$work/now.png" "$artifacts/wayland-$path.png"
  # Below the 24-pixel title bar: the clear colour, and the ships on it.
  client_pixels
  [ "$clear" -gt $((w * (h - 24) / 2)) ] && [ "$others" -gt 1000 ] ||
    fail "$path: the window shows no frame of the game ($clear clear, $others other pixels)"
  [ $path = closed ] || check_frame_rate 3 "$path, shown"
  if [ $path = software ]; then
    # The keyboard reaches the game: holding Space adds ships.
    ships=$others
    xdotool keydown space
    sleep 1
    xdotool keyup space
    window_box >/dev/null
    client_pixels
    [ "$others" -gt $((ships * 3)) ] || fail "$path: holding Space added no ships ($ships, then $others)"
    # A size dragged at the frame's edge (the left one, inwards; the right
    # one where the window touches the output's left side) is undone.
    read -r w h x y < <(echo "$box" | tr 'x+' '  ')
    edge=$((x - 4)) inwards=1
    [ "$x" -ge 10 ] || { edge=$((x + w + 3)) inwards=-1; }
    xdotool mousemove $edge $((y + h / 2))
    sleep 0.3
    xdotool mousedown 1
    for step in 15 30 45 60; do
      sleep 0.05
      xdotool mousemove $((edge + inwards * step)) $((y + h / 2))
    done
    dragged=$(window_box)
    xdotool mouseup 1 mousemove 998 738
    [ "${dragged%%+*}" != 800x600 ] || fail "$path: the drag at the frame's edge did not resize"
    wait_for_box 800x600 || fail "$path: a dragged size was not undone ($box)"
    click_box 48
    wait_for_box 1000x740 || {
      cp "$work/now.png" "$artifacts/wayland-maximised.png"
      fail "$path: the maximise box did not fill the output ($box)"
    }
    click_box 48
    wait_for_box 800x600 || fail "$path: the window did not return to 800x600 ($box)"
  elif [ $path = closed ]; then
    click_box 16
    wait_for_game
    [ "$status" = 0 ] || fail "$path: the close box ended the game with status $status"
    continue
  fi
  click_box 80
  wait_for_box none || fail "$path: the minimise box left the window on screen ($box)"
  check_frame_rate 5 "$path, minimised"
  terminate_within_a_second "$path"
done
echo "PASS (frames a second: $frame_rates)"
