#!/usr/bin/env bash
# Installs the program to a staging prefix, starts the INSTALLED program in a real session and
# drives it with the keyboard and the mouse as a person would, checking only what an outside
# observer sees: which windows are shown, where, how large.
#   bare:    Xvfb alone; the whole program, the converter and LibreOffice included
#   openbox, dark, wayland: a desktop with a window manager (openbox; openbox with GTK's dark
#            theme; weston): the windows' sizes with a frame around them, and readable text
# A screenshot of every window goes to artifacts/screenshots/ at the top of the repository.
# Usage: check_e2e.sh GLYVEX_BINARY BUILD_DIR [SESSION]
set -u
build=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
kind=${3:-bare}
tools="xdotool xwininfo xprop import"
case $kind in
bare) tools+=" soffice" ;;
openbox|dark) tools+=" openbox dbus-daemon /usr/bin/python3" ;;
wayland) tools+=" weston dbus-daemon /usr/bin/python3" ;;
*) echo "FAIL: unknown session $kind"; exit 1 ;;
esac
for tool in Xvfb $tools; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is needed (make test installs it)"; exit 1; }
done
source "$repo/tests/support/session.sh"

stage=$build/stage-$kind
work=$build/e2e-$kind
shots=$repo/artifacts/screenshots
rm -rf "$stage" "$work"
mkdir -p "$work" "$shots"
if [ "$kind" = bare ]; then prefix=e2e; else prefix=e2e-$kind; fi
rm -f "$shots/$prefix"-[0-9F]*.png
if ! cmake --install "$build" --prefix "$stage" >"$work/install.log" 2>&1; then
  cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1
fi

# What both session scripts share: Ctrl+X in the Preview window ($main, as each script names it)
# ends the program ($pid) with status 0.
common='ends_with_zero() {
  keys "$main" ctrl+x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "Ctrl+X did not end the program"
  wait "$pid"; local rc=$?; pid=
  [ $rc -eq 0 ] || fail "exit status $rc"
}'

bare=$work/bare.sh
{ printf '%s\n' "$common"; cat; } > "$bare" <<'INNER'
set -u
stage=$1 work=$2 shots=$3
pid=
step=start

fail() {
  echo "FAIL ($step): $*"
  import -window root "$shots/e2e-FAILED-$step.png" 2>/dev/null && echo "screen at failure: $shots/e2e-FAILED-$step.png"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}
pass() { echo "ok   $step: $*"; }

# find_window VAR TITLE [SECONDS]: the first visible window of the program whose title matches.
find_window() {
  local id
  id=$(timeout "${3:-10}" xdotool search --all --sync --onlyvisible --pid "$pid" --name "$2" 2>/dev/null | head -n 1)
  [ -n "$id" ] || fail "no window titled /$2/ appeared within ${3:-10}s"
  printf -v "$1" '%s' "$id"
}
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_unmapped() {
  for _ in $(seq 50); do mapped "$1" || return 0; sleep 0.1; done
  fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) is still shown"
}
wait_mapped() {
  for _ in $(seq 50); do mapped "$1" && return 0; sleep 0.1; done
  fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) is not shown"
}
geometry() { # sets X Y WIDTH HEIGHT of a window
  eval "$(xdotool getwindowgeometry --shell "$1")"
}
# Waits until the window's geometry differs from the "X Y W H" given.
wait_changed() {
  local before=$2
  for _ in $(seq 50); do
    geometry "$1"; [ "$X $Y $WIDTH $HEIGHT" != "$before" ] && return 0; sleep 0.1
  done
  fail "window $1 kept its geometry $before"
}
near() { local d=$(( $1 - $2 )); [ ${d#-} -le "${3:-1}" ]; }
centred() {
  geometry "$1"
  near $(( (sw - WIDTH) / 2 )) "$X" 2 && near $(( (sh - HEIGHT) / 2 )) "$Y" 2 \
    || fail "window $1 at $X,$Y size ${WIDTH}x$HEIGHT is not centred on ${sw}x$sh"
}
keys() { # keys WINDOW KEY...: focus the window (no window manager does it) and press keys
  local w=$1; shift
  xdotool windowfocus --sync "$w" 2>/dev/null || fail "cannot focus window $w"
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.2; done
}
typein() { xdotool windowfocus --sync "$1"; xdotool type --delay 4 "$2"; sleep 0.15; }
shot() { import -window "$2" "$shots/e2e-$1.png" 2>/dev/null || fail "screenshot $1 failed"; }

read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')

# --- Start: the Preview window, mapped and centred --------------------------------------------
"$stage/bin/glyvex" 2>"$work/glyvex.log" &
pid=$!
step=preview
find_window main '^Glyvex 2\.0$' 30
wait_mapped "$main"
centred "$main"
initial_width=$WIDTH initial_height=$HEIGHT
shot 01-preview "$main"
pass "Preview window $main mapped, centred at $X,$Y (${WIDTH}x$HEIGHT on ${sw}x$sh)"

# --- Show All (Ctrl+A): the three panels, 8820 twips = 588 px at 96 DPI -------------------------
step=show-all
geometry "$main"; before="$X $Y $WIDTH $HEIGHT"; full_height=$HEIGHT
keys "$main" ctrl+a
wait_changed "$main" "$before"
near "$WIDTH" 588 1 || fail "width after Show All is $WIDTH px, expected 588"
[ "$HEIGHT" -eq "$full_height" ] || fail "Show All changed the height ($full_height -> $HEIGHT)"
centred "$main"
shot 02-show-all "$main"
pass "width ${WIDTH} px, height unchanged, centred again"

# --- Compact mode (Ctrl+I): collapse, then Enter restores; Ctrl+I twice restores too ------------
step=compact
geometry "$main"; before="$X $Y $WIDTH $HEIGHT"; left=$X; top=$Y; width=$WIDTH
keys "$main" ctrl+i
wait_changed "$main" "$before"
[ "$HEIGHT" -lt $(( full_height / 4 )) ] || fail "Ctrl+I left the window $HEIGHT px high (was $full_height)"
[ "$X $Y $WIDTH" = "$left $top $width" ] || fail "Ctrl+I moved or resized the window sideways"
shot 03-compact "$main"
compact_height=$HEIGHT
keys "$main" Return
wait_changed "$main" "$X $Y $WIDTH $HEIGHT"
[ "$HEIGHT" -eq "$full_height" ] || fail "Enter restored $HEIGHT px, expected $full_height"
keys "$main" ctrl+i
wait_changed "$main" "$X $Y $WIDTH $HEIGHT"
keys "$main" ctrl+i
wait_changed "$main" "$X $Y $WIDTH $HEIGHT"
[ "$X $Y $WIDTH $HEIGHT" = "$before" ] || fail "after Ctrl+I twice: $X $Y $WIDTH $HEIGHT, expected $before"
pass "collapsed to $compact_height px, restored to $full_height px by Enter and by Ctrl+I"

# --- Sentence viewer, opened from the right-click menu over the window's background -------------
step=sentence
geometry "$main"
xdotool mousemove --window "$main" 4 $(( HEIGHT - 4 )) click 3
sleep 0.4
import -window root "$shots/e2e-04-popup-menu.png"
xdotool key s
wait_unmapped "$main"
find_window input '^Glyvex$'
shot 05-input-box "$input"
typein "$input" "The quick brown fox jumps over the lazy dog"
keys "$input" Return
find_window fontdlg '^Select Font$'
typein "$fontdlg" "Liberation Serif"
shot 06-font-dialog "$fontdlg"
keys "$fontdlg" Return
find_window viewer '^Glyvex Sentence Viewer$'
wait_mapped "$viewer"
mapped "$main" && fail "the Preview window is shown beside the sentence viewer"
centred "$viewer"
[ "$WIDTH" -gt 193 ] || fail "viewer only $WIDTH px wide for a long sentence (minimum 2892 twips = 193 px)"
shot 07-sentence-viewer "$viewer"
pass "viewer $viewer replaced the Preview window, ${WIDTH}x$HEIGHT, centred"
keys "$viewer" ctrl+x
wait_unmapped "$viewer"
wait_mapped "$main"
geometry "$main"
near "$WIDTH" 588 1 || fail "the Preview window came back $WIDTH px wide, not in its Show All state"
pass "Ctrl+X closed the viewer and gave the Preview window back as it was"

# --- Document converter: open a text file, pick a font, export RTF, LibreOffice reads it --------
step=converter
printf 'Glyvex end-to-end check\nSecond line: 12345 & more.\n' > "$work/input.txt"
rm -f "$work/export.rtf"
keys "$main" alt+f c Return
find_window opendlg '^Select File To Convert$'
typein "$opendlg" "$work/input.txt"
keys "$opendlg" Return
find_window fontdlg '^Select Font$'
typein "$fontdlg" "Liberation Mono"
keys "$fontdlg" Return
find_window conv '^Glyvex Document Converter$'
wait_mapped "$conv"
centred "$conv"
mapped "$main" || fail "the Preview window disappeared under the modal converter"
shot 08-converter "$conv"
keys "$conv" alt+e
find_window savedlg '^Export Converted Document$'
typein "$savedlg" "$work/export.rtf"
shot 09-save-dialog "$savedlg"
keys "$savedlg" Return
for _ in $(seq 50); do [ -s "$work/export.rtf" ] && break; sleep 0.1; done
[ -s "$work/export.rtf" ] || fail "no file exported to $work/export.rtf"
grep -q 'Liberation Mono' "$work/export.rtf" || fail "the exported file does not name the chosen face"
keys "$conv" ctrl+x
wait_unmapped "$conv"
timeout 90 soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to txt:Text \
  --outdir "$work/lo" "$work/export.rtf" >"$work/soffice.log" 2>&1
[ -f "$work/lo/export.txt" ] || { cat "$work/soffice.log"; fail "LibreOffice could not read the exported file"; }
tr -d '\r' < "$work/lo/export.txt" | sed 's/^\xEF\xBB\xBF//' > "$work/lo/export.clean.txt"
# (a trailing line break of the input is an empty last paragraph: compared without trailing ones)
[ "$(cat "$work/input.txt")" = "$(cat "$work/lo/export.clean.txt")" ] \
  || { diff "$work/input.txt" "$work/lo/export.clean.txt"; fail "LibreOffice read back other text"; }
pass "exported $work/export.rtf; LibreOffice reads back the same text; Ctrl+X closed the converter"

# --- README window: README.txt found beside the installed program (reached through bin/) --------
step=readme
geometry "$main"; before="$X $Y $WIDTH $HEIGHT"
keys "$main" alt+h r
# A missing file would be reported in a message box before the window shows.
readme=
for _ in $(seq 100); do
  xdotool search --all --onlyvisible --pid "$pid" --name '^README\.txt Not Found$' >/dev/null 2>&1 \
    && fail "the program did not find README.txt beside itself"
  readme=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Glyvex README\.txt$' 2>/dev/null | head -n 1)
  [ -n "$readme" ] && break
  sleep 0.1
done
[ -n "$readme" ] || fail "the README window did not open"
centred "$readme"
shot 10-readme "$readme"
keys "$main" ctrl+i
sleep 0.3; geometry "$main"
[ "$X $Y $WIDTH $HEIGHT" = "$before" ] || fail "the Preview window took Ctrl+I while the README window was open"
keys "$readme" Return
wait_unmapped "$readme"
pass "README window showed README.txt with no error, blocked the Preview window, Enter closed it"

# --- About window, closed with the mouse on its button ---------------------------------------
step=about
keys "$main" alt+h a
find_window about '^About GLYVEX\.\.\.$'
wait_mapped "$about"
centred "$about"
shot 11-about "$about"
# The close button: 2400,4200 twips, 900 x 345: its centre is at 190,291 px.
xdotool mousemove --window "$about" 190 291 click 1
wait_unmapped "$about"
pass "About window opened centred and closed by a click on its button"

# --- Exit (Ctrl+X): the process ends with status 0 ---------------------------------------------
step=exit
ends_with_zero
pass "the program ended with status 0"

# --- High DPI: twice the pixels per twip, icons drawn for that size ----------------------------
step=scale-2
QT_SCALE_FACTOR=2 "$stage/bin/glyvex" 2>"$work/glyvex-2x.log" &
pid=$!
find_window main '^Glyvex 2\.0$' 30
wait_mapped "$main"
centred "$main"
near "$WIDTH" $(( 2 * initial_width )) 2 && near "$HEIGHT" $(( 2 * initial_height )) 3 \
  || fail "${WIDTH}x$HEIGHT px at scale 2, expected about twice ${initial_width}x$initial_height"
xprop -id "$main" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "no 64-pixel window icon for the doubled scale"
shot 12-preview-scale-2 "$main"
pass "started at QT_SCALE_FACTOR=2: ${WIDTH}x$HEIGHT, centred, 64-pixel icon offered"
ends_with_zero
echo "PASS"
INNER

desktop=$work/desktop.sh
{ printf '%s\n' "$common"; cat; } > "$desktop" <<'INNER'
set -u
stage=$1 work=$2 shots=$3 kind=$4 a11y=$5
pid=
step=start
fail() {
  echo "FAIL ($kind, $step): $*"
  import -window root "$shots/e2e-$kind-FAILED-$step.png" 2>/dev/null && echo "screen at failure: $shots/e2e-$kind-FAILED-$step.png"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}
pass() { echo "ok   $kind $step: $*"; }
shot() { import -window root "$shots/e2e-$kind-$1.png" 2>/dev/null || fail "screenshot $1 failed"; }
# shown TITLE [SECONDS]: waits for the window; sets CW CH (its client area, pixels), MB (its
# menu bar's height, which depends on the theme) and CUT (the buttons not wholly inside the
# window, "-" for none).
shown() {
  local out
  out=$(/usr/bin/python3 "$a11y" shown "$1" "${2:-10}") || fail "no window /$1/ shown"
  read -r CW CH MB CUT <<<"$out"
}
# (weston gives the keyboard back to the window below a moment after one closes)
gone() { /usr/bin/python3 "$a11y" gone "$1" "${2:-10}" || fail "window /$1/ is still shown"; [ -z "$host" ] || sleep 1; }
# until_size TITLE TEST: reads the window's size until the shell test on CW and CH holds.
until_size() {
  for _ in $(seq 25); do shown "$1"; eval "$2" && return 0; sleep 0.2; done
  fail "window /$1/ is ${CW}x$CH, expected $2"
}
# keys TITLE KEY...: gives the window the keyboard (X11: through the window manager; Wayland:
# weston's seat gives it to the window it activated) and presses the keys.
host=
[ "$kind" = wayland ] && host=$(xwininfo -root -children | awk '/"Weston Compositor/ {print $1; exit}')
[ "$kind" = wayland ] && [ -z "$host" ] && fail "no weston window on the X server"
xid() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
focus() {
  if [ -n "$host" ]; then xdotool windowfocus --sync "$host"
  else local id; id=$(xid "$1"); [ -n "$id" ] || fail "no X window /$1/"; xdotool windowactivate --sync "$id" 2>/dev/null; fi
}
keys() { local t=$1; shift; focus "$t"; for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.25; done; }
typein() { focus "$1"; xdotool type --delay 8 "$2"; sleep 0.2; }
# frame WIDTH: left + right of the window manager's frame around an X11 window (0 on Wayland,
# where Qt draws its own title bar as part of the surface).
frame_width() {
  [ -n "$host" ] && { echo 0; return; }
  xprop -id "$(xid "$1")" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $2 + $3}'
}
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
main='^Glyvex 2\.0$'

# --- The Preview window: its design client area (3048 x 5820 twips and the menu bar) -----------
"$stage/bin/glyvex" 2>"$work/glyvex.log" &
pid=$!
step=preview
shown "$main" 30
sleep 0.5; shown "$main" # after the frame arrived
[ "$CW $(( CH - MB ))" = "203 388" ] || fail "client area ${CW}x$CH px with a $MB px menu bar, expected 203x388 below it"
shot 01-preview
if [ -z "$host" ]; then # centred with its frame
  id=$(xid "$main"); read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $2, $3, $4, $5}')
  read -r X Y < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {print x, $NF}')
  ox=$(( X - l )) oy=$(( Y - t )) ow=$(( CW + l + r )) oh=$(( CH + t + b ))
  dx=$(( (sw - ow) / 2 - ox )) dy=$(( (sh - oh) / 2 - oy ))
  [ ${dx#-} -le 1 ] && [ ${dy#-} -le 1 ] || fail "frame ${ow}x$oh at $ox,$oy is not centred on ${sw}x$sh"
  client_x=$X client_y=$Y menu_bar=$MB
fi
pass "client area ${CW}x$CH ($MB px menu bar)"

# --- A View command: the outer width of the table (Show All: 8820 twips, 588 px), height kept ---
step=view
[ -z "$host" ] || sleep 1 # weston gives a new window the keyboard a moment after mapping it
for _ in 1 2 3; do # Show All again is harmless: a key that came before the focus is pressed again
  keys "$main" ctrl+a
  for _ in $(seq 10); do shown "$main"; [ "$CW" -gt 203 ] && break 2; sleep 0.2; done
done
until_size "$main" '[ "$CW" -gt 203 ]'
sleep 0.5; shown "$main"
fw=$(frame_width "$main")
outer=$(( CW + fw ))
if [ -n "$host" ]; then
  [ "$CW" -le 588 ] && [ "$CW" -ge 570 ] || fail "client ${CW} px wide, expected 588 less Qt's own frame"
else
  [ "$outer" -ge 587 ] && [ "$outer" -le 589 ] || fail "outer width $outer px, expected 588"
fi
[ "$CH" -eq $(( 388 + MB )) ] || fail "Show All changed the client height to $CH"
shot 02-show-all
pass "client ${CW}x$CH, outer width $outer"

# --- Compact mode and back -------------------------------------------------------------------
step=compact
width=$CW
keys "$main" ctrl+i
until_size "$main" '[ "$CH" -lt 100 ]'
shot 03-compact
keys "$main" ctrl+i
until_size "$main" '[ "$CH" -ge $(( 388 + MB )) ]'
[ "$CW $CH" = "$width $(( 388 + MB ))" ] || fail "restored to ${CW}x$CH, expected ${width}x$(( 388 + MB ))"
pass "collapsed and restored to ${CW}x$CH"

# --- Sentence viewer: the same sentence gives the same size after "New &Sentence" --------------
step=sentence
sentence="The quick brown fox jumps over the lazy dog"
[ -z "$host" ] || sleep 1
keys "$main" alt+f s
shown '^Glyvex$'
typein '^Glyvex$' "$sentence"
keys '^Glyvex$' Return
shown '^Select Font$'
typein '^Select Font$' "Liberation Serif"
[ "$kind" = dark ] && keys '^Select Font$' Down # GTK's own font chooser: from its search to the list
keys '^Select Font$' Return
viewer='^Glyvex Sentence Viewer$'
shown "$viewer"
sleep 0.5; shown "$viewer"
first="${CW}x$CH"
[ "$CUT" = - ] || fail "buttons outside the viewer: $CUT"
shot 04-sentence
keys "$viewer" alt+f s
shown '^Glyvex$'
typein '^Glyvex$' "$sentence"
keys '^Glyvex$' Return
gone '^Glyvex$'
sleep 0.5; shown "$viewer"
[ "${CW}x$CH" = "$first" ] || fail "viewer $first before New Sentence, ${CW}x$CH after"
shot 05-sentence-again
keys "$viewer" ctrl+x
gone "$viewer"
shown "$main"
pass "viewer $first before and after New Sentence"

# --- README and About: all of each window visible, buttons inside -----------------------------
# key, title, client area expected (pixels), twips, screenshot
while read -r key title size twips picture <&3; do
  step=$picture
  keys "$main" alt+h "$key"
  shown "$title"
  sleep 0.5; shown "$title" # after the frame arrived
  [ "$CW $CH" = "${size/x/ }" ] || fail "client area ${CW}x$CH, expected $size ($twips twips)"
  [ "$CUT" = - ] || fail "buttons outside the window: $CUT"
  shot "$picture"
  keys "$title" Return
  gone "$title"
done 3<<'WINDOWS'
r ^Glyvex\sREADME\.txt$ 464x335 6960x5028 06-readme
a ^About\sGLYVEX\.\.\.$ 374x315 5604x4728 07-about
WINDOWS
pass "About and README shown whole"

# --- Dark theme: the character labels readable on the theme's background ----------------------
if [ "$kind" = dark ]; then
  step=contrast
  # The letters panel of the first screenshot: 240,600 twips in the client area, below the menu bar.
  crop="150x300+$(( client_x + 20 ))+$(( client_y + menu_bar + 45 ))"
  read -r lo hi < <(convert "$shots/e2e-dark-01-preview.png" -crop "$crop" -colorspace Gray \
    -format '%[fx:minima] %[fx:maxima]\n' info:)
  ratio=$(awk -v a="$lo" -v b="$hi" 'function L(v) { return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ^ 2.4 }
    BEGIN { printf "%.1f", (L(b) + 0.05) / (L(a) + 0.05) }')
  awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }' || fail "letters at contrast $ratio:1 on the dark theme (want 4.5)"
  pass "letters at contrast $ratio:1 (darkest $lo, lightest $hi in $crop)"
fi

# --- Exit --------------------------------------------------------------------------------------
step=exit
ends_with_zero
pass "the program ended with status 0"
echo "PASS"
INNER

start=$(date +%s) limit=150
[ "$kind" = bare ] || limit=240 # the accessibility tree answers slowly on a loaded machine
session_start "$kind" "$work" || { session_stop; echo "FAIL: the $kind session did not start"; exit 1; }
if [ "$kind" = bare ]; then
  timeout $limit bash "$bare" "$stage" "$work" "$shots"
else
  timeout $limit bash "$desktop" "$stage" "$work" "$shots" "$kind" "$repo/tests/support/a11y.py"
fi
status=$?
session_stop
echo "screenshots: $shots ($(( $(date +%s) - start )) s)"
[ $status -eq 124 ] && echo "FAIL: the session took longer than $limit s"
exit $status
