#!/usr/bin/env bash
# The Windows runs' shell pieces: the comparison reads a long report whole (a cut pipe must not
# fail it, nor hide a failure), a frame's box comes from the one list, the newest zip is taken.
set -uo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi; }

# A stand-in for tolvek-framecompare: a report of 200 lines, its arguments, the status asked for.
mkdir -p "$work/linux" "$work/out"
cat >"$work/linux/tolvek-framecompare" <<'STUB'
#!/usr/bin/env bash
echo "args: $*"
for i in $(seq 1 200); do echo "line $i"; done
exit "${STUB_STATUS:-0}"
STUB
chmod +x "$work/linux/tolvek-framecompare"

STUB_STATUS=0 "$repo/scripts/windows-compare-shots" "$work/out" "$work/linux" 300 650 \
  >"$work/same.txt" 2>&1
check "a long report of equal frames passes" "[ $? -eq 0 ]"
check "only the first 40 lines of each report are shown" \
  "[ \$(grep -c '^  line' '$work/same.txt') -eq 78 ]"
check "frame 650 leaves out its box, frame 300 none" \
  "grep -q 'ignore-box 199,149,440,330' '$work/same.txt' && ! grep 'args:.*linux-300' '$work/same.txt' | grep -q ignore-box"
STUB_STATUS=0 "$repo/scripts/windows-compare-shots" --whole "$work/out" "$work/linux" 650 \
  >"$work/whole.txt" 2>&1
check "--whole leaves out no box" "! grep -q ignore-box '$work/whole.txt'"
STUB_STATUS=1 "$repo/scripts/windows-compare-shots" "$work/out" "$work/linux" 300 \
  >/dev/null 2>&1
check "differing frames fail" "[ $? -ne 0 ]"

source "$repo/scripts/lib/windows-shots.sh"
touch -d '2026-01-01' "$work/vis_tolvek-0.0.9-win32.zip"
touch -d '2026-06-01' "$work/vis_tolvek-0.1.0-win32.zip"
check "the newest zip is taken, not both" \
  "[ \"\$(newest_file '$work'/vis_tolvek-*-win32.zip)\" = '$work/vis_tolvek-0.1.0-win32.zip' ]"
check "no zip: nothing" "[ -z \"\$(newest_file '$work'/none-*.zip)\" ]"
exit "$failures"
