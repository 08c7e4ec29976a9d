# The game heard through a real sound server (tools/with-sound-server.sh's
# SOUND_SERVER, with SDL_AUDIODRIVER), surviving its device: heard on a new sink
# within 5 s of the only one going for 2 s; after 10 s with none, heard within a
# second of the next, its music where real time has taken it; SIGTERM then
# ends it with status 0. The game runs without a display (offscreen).
source "$(dirname "$0")/Common.sh" "$@"

recorder_pid=
game_pid=
# The recordings are kept, pass or fail; a game left running is killed.
recordings="$artifacts/sound-server-$SOUND_SERVER-$SDL_AUDIODRIVER"
mkdir -p "$recordings"
trap 'kill $recorder_pid 2>/dev/null; kill -KILL $game_pid 2>/dev/null
  rm -f "$work/heard.wav"; cp "$work"/*.wav "$recordings/" 2>/dev/null; rm -rf "$work"' EXIT

# The shipped content with music that tells the time: one-second tones of
# 300 Hz, 400 Hz, ... 2200 Hz, looping every 20 s.
mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
rm -f "$work/game/Content/Music/"*
tones=()
for k in $(seq 0 19); do
  [ $k -eq 0 ] || tones+=(:)
  tones+=(synth 1 sine $((300 + 100 * k)) gain -6)
done
sox -n -r 48000 -c 2 -b 16 "$work/game/Content/Music/Klezmer.wav" "${tones[@]}"

now() { date +%s.%N; }
# Records a sink's monitor into a file for a number of seconds.
record_for() {
  parec -d "$1.monitor" --latency-msec=20 --file-format=wav --format=s16le --rate=48000 \
    --channels=2 "$2" &
  recorder_pid=$!
  sleep "$3"
  kill -INT "$recorder_pid"
  wait "$recorder_pid" 2>/dev/null
  recorder_pid=
}
remove_sink() {
  local module
  module=$(pactl list short modules | awk -v sink="sink_name=$1" \
    '$0 ~ sink "([ \t]|$)" {print $1; exit}')
  [ -n "$module" ] || fail "no module holds the sink $1"
  pactl unload-module "$module"
}
add_sink() {
  pactl load-module module-null-sink sink_name="$1" rate=48000 >/dev/null
  pactl set-default-sink "$1"
}
# When the game is first heard, in seconds from the recording's start (its
# leading silence, below 1 % for 50 ms, trimmed); empty when it never is.
heard_at() {
  sox "$1" "$work/heard.wav" silence 1 0.05 1% 2>/dev/null
  awk -v all="$(soxi -D "$1")" -v rest="$(soxi -D "$work/heard.wav" 2>/dev/null || echo 0)" \
    'BEGIN { if (rest > 0.1) printf "%.1f\n", all - rest }'
}
# The second of the music heard at a time of the recording.
music_second() {
  sox "$1" -n remix 1 trim "$2" 0.3 stat 2>&1 |
    awk '/Rough +frequency/ {printf "%d\n", ($3 - 300) / 100 + 0.5}'
}

(cd "$work/game" && exec env SDL_VIDEODRIVER=offscreen "$game") >"$work/stdout" 2>"$work/stderr" &
game_pid=$!
music_start=$(now)
record_for game_sink "$work/first.wav" 4
first=$(heard_at "$work/first.wav")
[ -n "$first" ] ||
  fail "the game was not heard through $SOUND_SERVER in 4 s; stderr: $(cat "$work/stderr")"

# The only sink goes for 2 s, then another comes.
remove_sink game_sink
sleep 2
add_sink game_sink_2
record_for game_sink_2 "$work/second.wav" 5
second=$(heard_at "$work/second.wav")
[ -n "$second" ] ||
  fail "silent on the new sink for 5 s on $SOUND_SERVER; stderr: $(cat "$work/stderr")"

# No sink at all for 10 s, then one.
remove_sink game_sink_2
sleep 10
add_sink game_sink_3
appeared=$(now)
record_for game_sink_3 "$work/third.wav" 2.5
third=$(heard_at "$work/third.wav")
[ -n "$third" ] && awk -v t="$third" 'BEGIN { exit !(t <= 1.0) }' ||
  fail "not heard within a second of the sink on $SOUND_SERVER (at ${third:-never} s)"
heard_second=$(music_second "$work/third.wav" "$(awk -v t="$third" 'BEGIN { print t + 0.2 }')")
expected_second=$(awk -v a="$appeared" -v s="$music_start" -v t="$third" \
  'BEGIN { printf "%d\n", a + t + 0.2 - s }')
awk -v h="$heard_second" -v e="$expected_second" \
  'BEGIN { d = (h - e % 20 + 30) % 20 - 10; exit !(d >= -1.5 && d <= 1.5) }' ||
  fail "the music came back at its second $heard_second, real time had taken it to $expected_second (mod 20); stderr: $(cat "$work/stderr")"

kill -TERM "$game_pid"
wait_for_game
game_pid=
[ "$status" = 0 ] || fail "the game ended with status $status; stderr: $(cat "$work/stderr")"
grep -q "sound device was lost" "$work/stderr" && grep -q "sound plays again" "$work/stderr" ||
  [ "$SOUND_SERVER" = pipewire ] || fail "no line told of the loss and the recovery"
echo "PASS on $SOUND_SERVER through SDL's $SDL_AUDIODRIVER driver: heard ${first} s into the run," \
  "${second} s after a new sink, ${third} s after a sink came back, at music second" \
  "$heard_second of $expected_second"
