#!/usr/bin/env bash
# A display that cannot be reached is reported in one line with status 2. Then, in a real X session
# (Xvfb), the Preview window is mapped and centred, and Ctrl+X ends the program with status 0.
# Usage: check_window.sh GLYVEX_BINARY BUILD_DIR
set -u
out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE DISPLAY=:77 "$1" 2>&1); rc=$?
if [ $rc -ne 2 ] || [ "$(wc -l <<<"$out")" -ne 1 ] || ! grep -q 'cannot open the display' <<<"$out"; then
  echo "FAIL: DISPLAY=:77 (no server) gave status $rc and:"; echo "$out"; exit 1
fi
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "FAIL: xvfb-run and xdotool are needed"; exit 1; }
xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM bash -c '
"$1" 2>/dev/null & pid=$!
fail() { echo "FAIL: $*"; kill $pid 2>/dev/null; exit 1; }
win=$(timeout 30 xdotool search --sync --onlyvisible --name "^Glyvex 2\.0$" | head -n 1)
[ -n "$win" ] || fail "the Preview window was not mapped"
eval "$(xdotool getwindowgeometry --shell "$win")"
read -r sw sh < <(xdpyinfo | awk "/dimensions:/ {split(\$2, d, \"x\"); print d[1], d[2]}")
echo "window $win at $X,$Y size ${WIDTH}x${HEIGHT} on ${sw}x${sh}"
xwininfo -id "$win" | grep -q "Map State: IsViewable" || fail "not viewable"
dx=$(( (sw - WIDTH) / 2 - X )) dy=$(( (sh - HEIGHT) / 2 - Y ))
[ ${dx#-} -le 2 ] && [ ${dy#-} -le 2 ] || fail "not centred (off by $dx,$dy)"
xdotool windowfocus --sync "$win"; xdotool key --clearmodifiers ctrl+x
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "Ctrl+X did not end the program"
wait $pid; rc=$?
[ $rc -eq 0 ] || fail "exit status $rc"
echo PASS' check "$1"
