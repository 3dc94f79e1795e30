# The frames the Windows runs photograph and compare with the Linux build's, one list for every
# script. Slides (unscaled), the pixel interlude, the tree phase (a stretched backdrop), the
# figure act. Each frame may name a box left out of the verdict: stretched copies resample as the
# display chooses, and in frame 650 the tree phase's backdrop is stretched by the sound's level
# into (199,149)-(440,330), the same every run with the fixed clock and the test signal.
windows_shot_frames=(300 410 650 3200)
declare -A windows_shot_box=([650]=199,149,440,330)

# The newest of the files given (an older release zip may still lie beside the new one).
newest_file() {
  local newest="" candidate
  for candidate in "$@"; do
    if [ -f "$candidate" ] && { [ -z "$newest" ] || [ "$candidate" -nt "$newest" ]; }; then
      newest=$candidate
    fi
  done
  printf '%s' "$newest"
}
