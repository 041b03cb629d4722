# Sourced: a private PulseAudio server for one test. start_pulse DIR starts it with a
# null sink "out" in DIR (a scratch folder) and points this shell's clients at it;
# stop_pulse stops it by its pid. Needs pulseaudio and pulseaudio-utils.

start_pulse() {
  pulse_dir=$1
  mkdir -p "$pulse_dir/run" "$pulse_dir/state" "$pulse_dir/home"
  export XDG_RUNTIME_DIR="$pulse_dir/run" PULSE_RUNTIME_PATH="$pulse_dir/run/pulse"
  export PULSE_STATE_PATH="$pulse_dir/state" HOME="$pulse_dir/home"
  export PULSE_SERVER="unix:$pulse_dir/native"
  # The ALSA route: the pulse plugin as ALSA's default device, for this server only.
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$pulse_dir/asound.conf"
  export ALSA_CONFIG_PATH="$pulse_dir/asound.conf"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-null-sink sink_name=out rate=44100 channels=2" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse_dir/native" \
    > "$pulse_dir/server.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 100); do
    pactl info > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "pulse_server: the server did not start" >&2
  cat "$pulse_dir/server.log" >&2
  return 1
}

stop_pulse() {
  if [ -n "${pulse_pid:-}" ]; then
    kill "$pulse_pid" 2>/dev/null || true
    wait "$pulse_pid" 2>/dev/null || true
    pulse_pid=
  fi
}
