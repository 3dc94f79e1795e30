#!/bin/bash
# Offline rendering against the encoder alone: `tolvek render` of a whole silent cycle to PNG
# frames and to an H.264 video, then ffmpeg encoding the same frames, read back from those PNGs
# into one raw YUV 4:2:0 file at the video's size beforehand, with the same arguments the render
# passes it.
# Prints wall and CPU seconds, frames per second, times real time at 30 fps and the ratio of
# the render to the encoder alone, and the render's peak resident memory.
# usage: bench/render_speed.sh [BUILD_DIR] [LAST_FRAME] [VIDEO_SIZE] [X264_PRESET]
set -u
build=$(cd "${1:-build/release}" && pwd) || exit 1
last=${2:-4180}
size=${3:-1280x960}
preset=${4:-ultrafast}
fps=30
player="$build/tolvek"
[ -x "$player" ] || { echo "render_speed: $player is not built" >&2; exit 1; }
command -v ffmpeg > /dev/null || { echo "render_speed: ffmpeg is not installed" >&2; exit 1; }
scratch=$(mktemp -d /tmp/tolvek-speed-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# Runs a command under /usr/bin/time; prints "NAME wall user+sys peakMB" and keeps the wall time.
timed() {
    local name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$scratch/$name.time" "$@" > /dev/null 2> "$scratch/$name.err" ||
        { echo "render_speed: $name failed:" >&2; tail -3 "$scratch/$name.err" >&2; exit 1; }
    read -r wall user system peak < "$scratch/$name.time"
    awk -v n="$name" -v w="$wall" -v u="$user" -v s="$system" -v p="$peak" -v f="$last" \
        -v fps="$fps" 'BEGIN {
            printf "%-12s %7.1f s wall %7.1f s CPU %7.1f frames/s %6.1fx real time, peak RSS %6.1f MB\n",
                   n, w, u + s, f / w, f / fps / w, p / 1024 }'
    eval "${name//-/_}_wall=$wall"
}

args=(render --silence --clock 1234567890 --fps "$fps" --frames "1-$last")
timed render-png "$player" "${args[@]}" --png-dir "$scratch/frames"
timed render-video "$player" "${args[@]}" --size "$size" --preset "$preset" \
    --video "$scratch/show.mp4"

# The encoder alone: the same frames as raw YUV at the video's size (with the render's matrix:
# BT.709 from 720 lines), a silent sound of the same length.
matrix=smpte170m
[ "${size#*x}" -ge 720 ] && matrix=bt709
ffmpeg -hide_banner -loglevel error -nostdin -i "$scratch/frames/frame-%06d.png" \
    -vf "scale=${size/x/:}:flags=neighbor:out_color_matrix=${matrix/smpte170m/bt601}" \
    -f rawvideo -pix_fmt yuv420p "$scratch/show.yuv"
ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i anullsrc=r=44100:cl=stereo \
    -t "$(awk -v f="$last" -v fps="$fps" 'BEGIN { print f / fps }')" "$scratch/silence.wav"
rm -rf "$scratch/frames"
timed ffmpeg-alone ffmpeg -hide_banner -loglevel error -nostdin -y -f rawvideo \
    -pixel_format yuv420p -video_size "$size" -framerate "$fps" -i "$scratch/show.yuv" \
    -i "$scratch/silence.wav" -map 0:v:0 -map 1:a:0 -colorspace "$matrix" \
    -color_primaries "$matrix" -color_trc "$matrix" -color_range tv \
    -c:v libx264 -preset "$preset" -crf 18 -pix_fmt yuv420p -c:a aac -b:a 192k \
    -movflags +faststart -shortest "$scratch/alone.mp4"
ls -l "$scratch/show.mp4" | awk -v f="$last" -v fps="$fps" \
    '{ printf "video file: %.1f MB, %.1f Mbit/s\n", $5 / 1e6, $5 * 8 / 1e6 / (f / fps) }'
awk -v r="$render_video_wall" -v e="$ffmpeg_alone_wall" \
    'BEGIN { printf "render to video / ffmpeg alone: %.2f\n", r / e }'
