#!/usr/bin/env bash
# Runs a command with a real sound server: PulseAudio in system mode (root is
# fine) with one null sink, "game_sink", whose monitor can be recorded with
# `parec -d game_sink.monitor`. The command sees PULSE_SERVER and
# SDL_AUDIODRIVER=pulseaudio; the server is stopped when it ends. For
# example, the audio latency through the server:
#   tools/with-sound-server.sh build/bench/bench/AudioMixerBench
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENT...]" >&2; exit 2; }

export PULSE_SERVER=unix:/var/run/pulse/native SDL_AUDIODRIVER=pulseaudio
log=$(mktemp)
pulseaudio --system --disallow-exit --exit-idle-time=-1 -n --daemonize=no --use-pid-file=no \
  --load="module-null-sink sink_name=game_sink rate=48000" \
  --load="module-native-protocol-unix auth-anonymous=1" >"$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -f "$log"' EXIT
tries=0
until pactl list short sinks 2>/dev/null | grep -q game_sink; do
  tries=$((tries + 1))
  if [ $tries -ge 100 ] || ! kill -0 $server 2>/dev/null; then
    echo "$0: PulseAudio did not start: $(tail -n 3 "$log")" >&2
    exit 1
  fi
  sleep 0.1
done
status=0
"$@" || status=$?
if [ $status -ne 0 ]; then
  kill -0 $server 2>/dev/null || echo "$0: the sound server had ended" >&2
  echo "$0: the sound server's last words: $(tail -n 5 "$log")" >&2
fi
exit $status
