#!/usr/bin/env bash
# Runs a command with a real sound server and one null sink, "game_sink",
# whose monitor can be recorded with `parec -d game_sink.monitor`; the server
# is stopped when the command ends. SOUND_SERVER picks the server:
#   pulseaudio (the default): PulseAudio in system mode (root is fine), on
#     a socket of its own;
#   pipewire: PipeWire with WirePlumber and its PulseAudio service, in a
#     runtime folder and session bus of their own (no login session needed).
# The command sees PULSE_SERVER (pactl and parec reach either server) and
# SDL_AUDIODRIVER (pulseaudio unless set; with PipeWire, pipewire takes SDL's
# own PipeWire driver). For example, the audio latency through the server:
#   tools/with-sound-server.sh build/bench/bench/AudioMixerBench
#   SOUND_SERVER=pipewire SDL_AUDIODRIVER=pipewire tools/with-sound-server.sh ...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENT...]" >&2; exit 2; }

server=${SOUND_SERVER:-pulseaudio}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-pulseaudio}
logs=$(mktemp -d)
pids=()
stop() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
  rm -rf "$logs"
}
trap stop EXIT
last_words() { tail -n 5 "$logs"/*.log 2>/dev/null || true; }

case $server in
pulseaudio)
  # Its socket in a folder of its own, which its system user can write: not
  # the system-wide one, which every other program's sound would find.
  chmod 755 "$logs"
  mkdir -m 777 "$logs/pulse"
  export PULSE_SERVER="unix:$logs/pulse/native"
  pulseaudio --system --disallow-exit --exit-idle-time=-1 -n --daemonize=no --use-pid-file=no \
    --load="module-null-sink sink_name=game_sink rate=48000" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$logs/pulse/native" \
    >"$logs/pulseaudio.log" 2>&1 &
  pids+=($!)
  ;;
pipewire)
  export XDG_RUNTIME_DIR="$logs/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile \
    >"$logs/dbus.log" 2>&1 &
  pids+=($!)
  until [ -S "$XDG_RUNTIME_DIR/bus" ]; do sleep 0.05; done
  # In order: the daemon, its session manager, then its PulseAudio service.
  for daemon in pipewire wireplumber pipewire-pulse; do
    "$daemon" >"$logs/$daemon.log" 2>&1 &
    pids+=($!)
    sleep 0.2
  done
  ;;
*)
  echo "$0: SOUND_SERVER is pulseaudio or pipewire, not $server" >&2
  exit 2
  ;;
esac

tries=0
until pactl info >/dev/null 2>&1; do
  tries=$((tries + 1))
  if [ $tries -ge 100 ] || ! kill -0 "${pids[-1]}" 2>/dev/null; then
    echo "$0: $server did not start: $(last_words)" >&2
    exit 1
  fi
  sleep 0.1
done
if [ "$server" = pipewire ]; then
  pactl load-module module-null-sink sink_name=game_sink rate=48000 >/dev/null
fi
pactl set-default-sink game_sink
tries=0
until pactl list short sinks 2>/dev/null | grep -q game_sink; do
  tries=$((tries + 1))
  [ $tries -lt 100 ] || { echo "$0: no game_sink on $server: $(last_words)" >&2; exit 1; }
  sleep 0.1
done

status=0
"$@" || status=$?
if [ $status -ne 0 ]; then
  for pid in "${pids[@]}"; do
    kill -0 "$pid" 2>/dev/null || echo "$0: a part of the sound server had ended" >&2
  done
  echo "$0: the sound server's last words: $(last_words)" >&2
fi
exit $status
