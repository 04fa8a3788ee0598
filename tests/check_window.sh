#!/usr/bin/env bash
# Starts the program in a real X session (Xvfb), checks that the Preview window is mapped and
# centred, then ends it from the keyboard (Ctrl+X) and expects a clean exit. First, a display that
# cannot be reached is reported in one line with status 2.
# Usage: check_window.sh GLYVEX_BINARY BUILD_DIR
set -u
program=$1
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run and xdotool are needed (make test installs them)"; exit 1
fi
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<'INNER'
set -u
unset QT_QPA_PLATFORM
"$1" 2>/tmp/glyvex-check-window.log &
pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glyvex 2\.0$' | head -n 1)
if [ -z "$win" ]; then echo "FAIL: the Preview window was not mapped"; kill $pid; exit 1; fi
state=$(xwininfo -id "$win" | awk -F': *' '/Map State/ {print $2}')
eval "$(xdotool getwindowgeometry --shell "$win")"
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
echo "window $win: $state at $X,$Y size ${WIDTH}x${HEIGHT} on ${sw}x${sh}"
status=0
[ "$state" = "IsViewable" ] || { echo "FAIL: not viewable"; status=1; }
dx=$(( (sw - WIDTH) / 2 - X )); dy=$(( (sh - HEIGHT) / 2 - Y ))
if [ ${dx#-} -gt 2 ] || [ ${dy#-} -gt 2 ]; then echo "FAIL: not centred (off by $dx,$dy)"; status=1; fi
xdotool windowfocus --sync "$win"
xdotool key --clearmodifiers ctrl+x
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "FAIL: Ctrl+X did not end the program"; kill $pid; exit 1; fi
wait $pid; rc=$?
[ $rc -eq 0 ] || { echo "FAIL: exit status $rc"; status=1; }
[ $status -eq 0 ] && echo "PASS"
exit $status
INNER
out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE DISPLAY=:77 "$program" 2>&1); rc=$?
if [ $rc -ne 2 ] || [ "$(wc -l <<<"$out")" -ne 1 ] || ! grep -q 'cannot open the display' <<<"$out"; then
  echo "FAIL: DISPLAY=:77 (no server) gave status $rc and:"; echo "$out"; exit 1
fi
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$program"
