#!/usr/bin/env bash
# Starts the real program under valgrind memcheck on a virtual display,
# waits for its window, clicks Close and checks memcheck's report: no
# definitely lost block may have been allocated by our code. Installs
# valgrind, xvfb and xdotool when missing. Takes a minute or two.
#   scripts/valgrind.sh [LOG]   (default LOG: build/valgrind.log)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTREL_BUILD_DIR:-$root/build}"

if [ -z "${VANTREL_VALGRIND_DISPLAY:-}" ]; then
  VANTREL_EXTRA_PACKAGES="valgrind xvfb xauth xdotool" "$root/scripts/setup.sh"
  export VANTREL_VALGRIND_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

log="${1:-$build/valgrind.log}"
program="$build/vantrel/vantrel"
valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 \
  --log-file="$log" "$program" &
pid=$!

# Under valgrind the window takes a while to appear.
window=""
for _ in $(seq 1 300); do
  window="$(xdotool search --onlyvisible --name '^Vantrel' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  kill "$pid" 2>/dev/null || true
  echo "error: the window did not appear" >&2
  exit 1
fi
sleep 3
# Close sits at the window's bottom right corner.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 45)) $((Y + HEIGHT - 24)) click 1
wait "$pid"

sed -n '/LEAK SUMMARY/,/suppressed:/p' "$log"
grep "ERROR SUMMARY" "$log"

# A definitely lost record is ours when one of its frames lies in the
# program itself (the core and application libraries are linked into it).
ours="$(awk -v program="$program" '
  /definitely lost in/ { record = $0; keep = 1; next }
  keep && NF == 1 { if (mine) print record; keep = 0; mine = 0; next }
  keep { record = record "\n" $0; if (index($0, "(in " program ")")) mine = 1 }
' "$log")"
if [ -n "$ours" ]; then
  echo "error: memory our code allocated is definitely lost:" >&2
  echo "$ours" >&2
  exit 1
fi
echo "No definitely lost block from Vantrel's code (full report: $log)"
