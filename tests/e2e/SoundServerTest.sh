# The game heard through a real sound server (run by
# tools/with-sound-server.sh): PulseAudio with a null sink, whose monitor is
# recorded while the game runs; the music is in the recording. A game whose
# audio went elsewhere leaves the recording silent or empty.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display

recorder_pid=
trap 'kill $recorder_pid 2>/dev/null; rm -rf "$work"' EXIT
parec -d game_sink.monitor --file-format=wav --format=s16le --rate=48000 --channels=2 \
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
