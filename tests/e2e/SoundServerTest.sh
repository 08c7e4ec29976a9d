# The game heard through a real sound server: PulseAudio with a null sink,
# whose monitor is recorded while the game runs; the music is in the
# recording. (The monitor of a sink that nothing plays to records nothing,
# so a game whose audio went elsewhere leaves the recording empty.)
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

export PULSE_SERVER=unix:/var/run/pulse/native
pulseaudio --system --disallow-exit --exit-idle-time=-1 -n --daemonize=no \
  --load="module-null-sink sink_name=game_e2e rate=48000" \
  --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulse.log" 2>&1 &
pulse_pid=$!
trap 'kill $recorder_pid $pulse_pid 2>/dev/null; wait $pulse_pid 2>/dev/null; rm -rf "$work"' EXIT
recorder_pid=
tries=0
until pactl info >/dev/null 2>&1; do
  tries=$((tries + 1))
  [ $tries -lt 100 ] || fail "PulseAudio did not start: $(tail -n 5 "$work/pulse.log")"
  sleep 0.1
done

parec -d game_e2e.monitor --file-format=wav --format=s16le --rate=48000 --channels=2 \
  "$work/recording.wav" &
recorder_pid=$!

mkdir -p "$work/game"
cp -r "$source_dir/Content" "$work/game/"
start_game "$work/game" pulseaudio
wait_for_window
sleep 4
"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "the game ended with status $status; stderr: $(cat "$work/stderr")"
kill -INT "$recorder_pid"
wait "$recorder_pid" 2>/dev/null
cp "$work/recording.wav" "$artifacts/sound-server.wav"

# RMS amplitude from one time to another, in seconds of the recording.
rms() {
  sox "$work/recording.wav" -n trim "$1" "=$2" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
length=$(soxi -D "$work/recording.wav" 2>/dev/null || echo 0)
awk -v l="$length" 'BEGIN { exit !(l > 1.5) }' ||
  fail "the sound server recorded $length s of the game; stderr: $(cat "$work/stderr")"
playing=$(rms 0.5 1.5)
awk -v p="$playing" 'BEGIN { exit !(p > 0.002) }' ||
  fail "the game was not heard through the sound server (rms $playing)"
echo "PASS: rms $playing while the game played ($length s recorded)"
