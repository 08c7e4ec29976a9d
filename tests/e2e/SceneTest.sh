# The demo scene with the shipped content: ships are drawn, holding Space adds
# ships and Backspace removes them; the audio output carries the music from
# the start, louder once ships were added, and taps while adding. Times come
# from the captured audio itself (the disk driver's file grows as the device
# plays), so the checks hold whatever the frame rate and the scheduler do.
# The screenshots and the captured audio are kept as artifacts.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
raw="$work/audio.raw"
export SDL_DISKAUDIOFILE="$raw"
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
# Seconds of audio the device has played so far (48 kHz float stereo).
audio_now() {
  awk -v b="$(stat -c %s "$raw" 2>/dev/null || echo 0)" 'BEGIN { printf "%.3f", b / 384000 }'
}
# Waits until the device has played `seconds` more audio (at most 30 s of wall time).
wait_audio() {
  local until tries=0
  until=$(awk -v n="$(audio_now)" -v s="$1" 'BEGIN { print n + s }')
  while awk -v n="$(audio_now)" -v u="$until" 'BEGIN { exit !(n < u) }'; do
    tries=$((tries + 1))
    [ $tries -lt 600 ] || fail "the audio output stopped at $(audio_now) s; stderr: $(grep -v "^frames" "$work/stderr" | tail -n 5)"
    sleep 0.05
  done
}
# Waits until drawn_pixels satisfies the awk condition on p (at most 30 tries).
wait_pixels() {
  local name=$1 condition=$2 tries=0
  pixels=$(drawn_pixels "$name")
  while ! awk -v p="$pixels" "BEGIN { exit !($condition) }"; do
    tries=$((tries + 1))
    [ $tries -lt 30 ] || return 1
    sleep 0.2
    pixels=$(drawn_pixels "$name")
  done
}

wait_audio 1.5
music_from=$(audio_now)
wait_pixels scene-start "p > 2000" || fail "the ten ships cover only $pixels pixels"
start=$pixels

xdotool keydown space
adding_from=$(audio_now)
wait_pixels scene-crowd "p > $((start * 5))" || {
  xdotool keyup space
  fail "holding Space did not add ships ($start, then $pixels pixels)"
}
crowd=$pixels
wait_audio 1
adding_to=$(audio_now)
xdotool keyup space
wait_audio 0.3
quiet_from=$(audio_now)
wait_audio 1.5
quiet_to=$(audio_now)

xdotool keydown BackSpace
wait_pixels scene-thinned "p < $((crowd / 2))" || {
  xdotool keyup BackSpace
  fail "holding Backspace did not remove ships ($crowd, then $pixels pixels)"
}
thinned=$pixels
xdotool keyup BackSpace

"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "the game ended with status $status"
# A drawing path asked for is the one that drew.
! grep -q "cannot draw" "$work/stderr" || fail "$(grep "cannot draw" "$work/stderr")"
# Test builds print every error an OpenGL debug context reports.
! grep -q "GL error" "$work/stderr" || fail "$(grep "GL error" "$work/stderr")"

sox -q -t raw -r 48000 -e floating-point -b 32 -c 2 "$raw" "$artifacts/scene-audio.wav"
read -r peak level < <(sox "$artifacts/scene-audio.wav" -n stat 2>&1 |
  awk '/Maximum amplitude/ {p=$3} /RMS +amplitude/ {r=$3} END {print p, r}')
awk -v p="$peak" -v r="$level" 'BEGIN { exit !(r > 0.01 && p <= 1.0) }' ||
  fail "the audio is silent or out of range (peak $peak, rms $level)"
# RMS amplitude of the captured audio from one time to another.
rms() {
  sox "$artifacts/scene-audio.wav" -n trim "$1" "=$2" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
# RMS of 5 ms windows of the audio above 5 kHz, one a line, from one time to another.
high_windows() {
  sox "$artifacts/scene-audio.wav" -t dat - remix 1 highpass 5000 trim "$1" "=$2" |
    awk '!/^;/ { sum += $2 * $2; n++; if (n == 240) { print sqrt(sum / n); sum = 0; n = 0 } }'
}
# Onsets per second: windows above 0.01 and four times the quietest of the
# three before, at least 40 ms apart. A tap jumps tenfold from the level
# between taps; the music's own notes rise less steeply.
onsets_per_second() {
  high_windows "$1" "$2" | awk -v from="$1" -v to="$2" '
    { w[NR] = $1; low = w[NR - 1]; if (NR > 3) for (i = NR - 3; i < NR; i++) if (w[i] < low) low = w[i]
      if (NR > 3 && $1 > 0.01 && $1 > 4 * low && NR - last > 8) { onsets++; last = NR } }
    END { printf "%.2f\n", onsets / (to - from) }'
}
early=$(rms "$music_from" "$adding_from")
after=$(rms "$quiet_from" "$quiet_to")
taps_adding=$(onsets_per_second "$adding_from" "$adding_to")
taps_quiet=$(onsets_per_second "$quiet_from" "$quiet_to")
awk -v e="$early" 'BEGIN { exit !(e > 0.001) }' || fail "no music before the first key (rms $early)"
awk -v e="$early" -v a="$after" 'BEGIN { exit !(a > 3 * e) }' ||
  fail "the music did not get louder with the ships ($early, then $after)"
awk -v t="$taps_adding" -v q="$taps_quiet" 'BEGIN { exit !(t >= 4 && t > 2 * q) }' ||
  { echo "times: music $music_from adding $adding_from..$adding_to quiet $quiet_from..$quiet_to" >&2; fail "no taps while adding ($taps_adding a second, $taps_quiet after)"; }

echo "times: music $music_from adding $adding_from..$adding_to quiet $quiet_from..$quiet_to" >&2
echo "PASS: ship pixels $start, $crowd, $thinned; audio peak $peak, rms $level;" \
  "music rms $early at start, $after after adding; taps $taps_adding a second while adding," \
  "$taps_quiet after"
