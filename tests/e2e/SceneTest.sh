# The demo scene with the shipped content: ships are drawn, holding Space adds
# ships and Backspace removes them; the audio output carries the music from
# the start, louder once ships were added, and the taps while adding. The
# screenshots and the captured audio are kept as artifacts.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
export SDL_DISKAUDIOFILE="$work/audio.raw"
started=$(date +%s.%N)
start_game "$work/game" disk
wait_for_window
shown=$(date +%s.%N)

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

space_down=$(date +%s.%N)
xdotool keydown space
sleep 1
xdotool keyup space
space_up=$(date +%s.%N)
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

# Seconds from the start of the game (about when its audio output opened).
since_start() {
  awk -v t="$1" -v s="$started" -v d="$2" 'BEGIN { printf "%.3f", t - s + d }'
}
# RMS amplitude of a stretch of the captured audio, optionally high-passed.
rms() {
  sox "$artifacts/scene-audio.wav" -n trim "$1" "$2" ${3:+highpass $3} stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}
above() {
  awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { exit !(a > b * f) }'
}

# The disk output holds the raw float stereo stream at 48 kHz.
sox -q -t raw -r 48000 -e floating-point -b 32 -c 2 "$work/audio.raw" "$artifacts/scene-audio.wav"
read -r peak rms < <(sox "$artifacts/scene-audio.wav" -n stat 2>&1 |
  awk '/Maximum amplitude/ {p=$3} /RMS +amplitude/ {r=$3} END {print p, r}')
awk -v p="$peak" -v r="$rms" 'BEGIN { exit !(r > 0.01 && p <= 1.0) }' ||
  fail "the audio is silent or out of range (peak $peak, rms $rms)"
early=$(rms "$(since_start "$shown" 0.2)" 1.0)
holding=$(rms "$(since_start "$space_down" 0.3)" 0.6 6000)
after_full=$(rms "$(since_start "$space_up" 0.15)" 0.3)
after_high=$(rms "$(since_start "$space_up" 0.15)" 0.3 6000)
above "$early" 0.001 1 || fail "no music in the first second (rms $early)"
above "$after_full" "$early" 3 || fail "the music did not get louder with the ships ($early, then $after_full)"
above "$holding" "$after_high" 2 || fail "no taps while adding (high band $holding, after $after_high)"

echo "PASS: ship pixels $start, $crowd, $thinned; audio peak $peak, rms $rms;" \
  "music rms $early at start, $after_full after adding; taps high band $holding against $after_high"
