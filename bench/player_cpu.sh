#!/bin/bash
# The player's CPU use while it shows the built-in tune in a window, against an empty SDL window
# presenting a 640x480 texture with the same pacing. Both run on one private X server (Xvfb) and,
# when pulseaudio is installed, one private sound server with a null sink, so the tune is really
# played; the player runs once more without a sound server, which leaves the frames' own cost.
# Prints CPU per cent of one core (all threads), the X server's share, frames per second of the
# baseline and the peak resident memory.
# usage: bench/player_cpu.sh [BUILD_DIR] [SECONDS]
set -u
build=$(cd "${1:-build/release}" && pwd) || exit 1
seconds=${2:-60}
warmup=3
player="$build/tolvek"
baseline="$build/bench/present_baseline/tolvek_present_baseline"
for program in "$player" "$baseline"; do
    [ -x "$program" ] || { echo "player_cpu: $program is not built" >&2; exit 1; }
done
command -v Xvfb > /dev/null || { echo "player_cpu: Xvfb is not installed" >&2; exit 1; }
scratch=$(mktemp -d /tmp/tolvek-cpu-XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null; done
    wait 2> /dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp > "$scratch/xvfb.log" 2>&1 &
xserver=$!
pids+=("$xserver")
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"

if command -v pulseaudio > /dev/null; then
    socket="$scratch/pulse/native"
    mkdir -p "$scratch/pulse"
    XDG_RUNTIME_DIR="$scratch/pulse" HOME="$scratch/pulse" pulseaudio --daemonize=no \
        --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no --system=no -n \
        --log-target=stderr --log-level=error \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        -L "module-null-sink sink_name=tolvek_cpu_sink" 2> "$scratch/pulse.log" &
    pids+=("$!")
    for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
    export PULSE_SERVER="unix:$socket"
fi

# utime + stime of a process (all its threads), in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2> /dev/null || echo 0; }
hz=$(getconf CLK_TCK)

# Runs a program, measures it for $seconds after the warm-up and prints one line.
measure() {
    local name=$1
    shift
    "$@" > "$scratch/$name.out" 2> "$scratch/$name.err" &
    local pid=$!
    pids+=("$pid")
    sleep "$warmup"
    if ! kill -0 "$pid" 2> /dev/null; then
        echo "player_cpu: $name ended early:" >&2
        cat "$scratch/$name.err" >&2
        return 1
    fi
    local p0 x0 t0 p1 x1 t1
    p0=$(ticks "$pid")
    x0=$(ticks "$xserver")
    t0=$(date +%s.%N)
    sleep "$seconds"
    p1=$(ticks "$pid")
    x1=$(ticks "$xserver")
    t1=$(date +%s.%N)
    local peak
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    awk -v n="$name" -v p="$((p1 - p0))" -v x="$((x1 - x0))" -v t0="$t0" -v t1="$t1" \
        -v hz="$hz" -v peak="$peak" 'BEGIN {
            wall = t1 - t0
            printf "%-9s %6.2f %% of one core, X server %6.2f %%, peak RSS %6.1f MB\n",
                   n, 100 * p / hz / wall, 100 * x / hz / wall, peak / 1024 }'
}

echo "measuring $seconds s each on display :$display${PULSE_SERVER:+, with a private sound server}"
# The baseline draws the way the player does: without a GPU (and on Xvfb there is none to use)
# the player takes SDL's software renderer straight into the window's image.
if [ ! -e /dev/dri ] && [ ! -e /dev/nvidia0 ]; then
    SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0 \
        measure baseline "$baseline" --seconds $((seconds + warmup + 5))
else
    measure baseline "$baseline" --seconds $((seconds + warmup + 5))
fi
# For comparison: the same empty window drawn through OpenGL, emulated by the CPU without a GPU.
SDL_RENDER_DRIVER=opengl measure opengl "$baseline" --seconds $((seconds + warmup + 5))
measure player "$player" --window --clock 1234567890
# The same without a sound server: the show follows the tune without playing it, which leaves
# the frames' own cost.
PULSE_SERVER="unix:$scratch/no-server" measure unplayed "$player" --window --clock 1234567890
sed -n 's/^renderer/baseline: renderer/p' "$scratch/baseline.out"
sed -n 's/^renderer/opengl: renderer/p' "$scratch/opengl.out"
grep -h "tolvek:" "$scratch/player.err" | head -3
