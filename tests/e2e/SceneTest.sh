# The demo scene with the shipped content: ships are drawn, holding Space adds
# ships and Backspace removes them, and the audio output carries the music.
# The screenshots and the captured audio are kept as artifacts.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
export SDL_DISKAUDIOFILE="$work/audio.raw"
start_game "$work/game" disk
wait_for_window

# Pixels that differ from the most common colour, the background.
drawn_pixels() {
  import -window "$window" "$artifacts/$1.png"
  local background
  background=$(convert "$artifacts/$1.png" -format %c histogram:info:- | sort -rn | head -n 1 |
    awk '{print $1}' | tr -d :)
  echo $((800 * 600 - background))
}

sleep 2
start=$(drawn_pixels scene-start)
[ "$start" -gt 2000 ] || fail "the ten ships cover only $start pixels"

xdotool keydown space
sleep 1
xdotool keyup space
sleep 0.5
crowd=$(drawn_pixels scene-crowd)
[ "$crowd" -gt $((start * 5)) ] || fail "holding Space did not add ships ($start, then $crowd pixels)"

xdotool keydown BackSpace
sleep 2
xdotool keyup BackSpace
sleep 0.5
thinned=$(drawn_pixels scene-thinned)
[ "$thinned" -lt $((crowd / 2)) ] || fail "holding Backspace did not remove ships ($crowd, then $thinned pixels)"

"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "the game ended with status $status"

# The disk output holds the raw float stereo stream at 48 kHz.
sox -q -t raw -r 48000 -e floating-point -b 32 -c 2 "$work/audio.raw" "$artifacts/scene-audio.wav"
read -r peak rms < <(sox "$artifacts/scene-audio.wav" -n stat 2>&1 |
  awk '/Maximum amplitude/ {p=$3} /RMS +amplitude/ {r=$3} END {print p, r}')
awk -v p="$peak" -v r="$rms" 'BEGIN { exit !(r > 0.01 && p <= 1.0) }' ||
  fail "the audio is silent or out of range (peak $peak, rms $rms)"
echo "PASS: ship pixels $start, $crowd, $thinned; audio peak $peak, rms $rms"
