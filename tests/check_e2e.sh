#!/usr/bin/env bash
# Drives the staged program in a real session (tests/support/session.sh; bare also runs the
# converter and scale 2) by keyboard and mouse, checking which windows are shown, where and how
# large (from the accessibility tree). Screenshots: artifacts/screenshots/.
# Usage: check_e2e.sh GLYVEX_BINARY BUILD_DIR [SESSION]
set -u
build=$(cd "$2" && pwd) repo=$(cd "$(dirname "$0")/.." && pwd) kind=${3:-bare}
stage=$build/stage-$kind work=$build/e2e-$kind shots=$repo/artifacts/screenshots prefix=e2e-${3:-bare}
if [ "${4:-}" != inner ]; then
  case $kind in
  bare) tools= ;; openbox|dark) tools=openbox ;; wayland) tools=weston ;;
  *) echo "FAIL: unknown session $kind"; exit 1 ;;
  esac
  for tool in Xvfb xdotool xwininfo xprop import dbus-daemon /usr/bin/python3 $tools; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is needed (make test installs it)"; exit 1; }
  done
  rm -rf "$stage" "$work" "$shots/$prefix"-[0-9F]*.png && mkdir -p "$work" "$shots"
  cmake --install "$build" --prefix "$stage" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
  source "$repo/tests/support/session.sh"
  start=$(date +%s) limit=240 # the accessibility tree answers slowly on a loaded machine
  session_start "$kind" "$work" || { session_stop; echo "FAIL: the $kind session did not start"; exit 1; }
  timeout $limit bash "$0" "$1" "$2" "$kind" inner
  status=$?
  session_stop
  echo "screenshots: $shots ($(( $(date +%s) - start )) s)"
  [ $status -eq 124 ] && echo "FAIL: the session took longer than $limit s"
  exit $status
fi

pid= step=start host= main='^Glyvex 2\.0$'
fail() { # (the screen at the time: $prefix-FAILED-$step.png)
  echo "FAIL ($kind, $step): $*"; import -window root "$shots/$prefix-FAILED-$step.png" 2>/dev/null
  [ -n "$pid" ] && kill "$pid" 2>/dev/null; exit 1
}
pass() { echo "ok   $kind $step: $*"; }
shot() { import -window root "$shots/$prefix-$1.png" 2>/dev/null || fail "screenshot $1 failed"; }
near() { local d=$(( $1 - $2 )); [ ${d#-} -le "${3:-1}" ]; }
# shown TITLE [SECONDS]: waits for it; sets CW CH (client area), MB (menu bar height), CUT (buttons outside; "-")
shown() { local out; out=$(/usr/bin/python3 "$repo/tests/support/a11y.py" shown "$1" "${2:-10}") || fail "no window /$1/ shown"; read -r CW CH MB CUT <<<"$out"; }
gone() { /usr/bin/python3 "$repo/tests/support/a11y.py" gone "$1" "${2:-10}" || fail "window /$1/ is still shown"; [ -z "$host" ] || sleep 1; } # weston: a moment for the keyboard
settled() { shown "$@"; sleep 0.5; shown "$1"; } # after the frame arrived
# until_size TITLE TEST [KEY]: reads the client area until the shell test on CW and CH holds, pressing
# KEY every 2 s (again if the window did not yet have the keyboard: only for a key that may be repeated)
until_size() {
  for i in $(seq 30); do
    [ -n "${3:-}" ] && [ $(( i % 10 )) = 1 ] && keys "$1" "$3"
    shown "$1"; eval "$2" && return 0; sleep 0.2
  done
  fail "window /$1/ is ${CW}x$CH, expected $2"
}
xid() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
# keys TITLE KEY...: gives the window the keyboard (directly; through openbox; weston's seat) and presses keys.
focus() {
  [ -n "$host" ] && { xdotool windowfocus --sync "$host"; return; }
  local id; id=$(xid "$1"); [ -n "$id" ] || fail "no X window /$1/"
  if [ "$kind" = bare ]; then xdotool windowfocus --sync "$id"; else xdotool windowactivate --sync "$id" 2>/dev/null; fi
}
keys() { local t=$1; shift; focus "$t"; for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.25; done; }
typein() { focus "$1"; xdotool type --delay 8 "$2"; sleep 0.2; }
# opens FROM TITLE KEY...: presses the keys in FROM until TITLE is shown (again if weston was slow)
opens() { local from=$1 title=$2; shift 2
  for _ in 1 2 3; do keys "$from" "$@"; /usr/bin/python3 "$repo/tests/support/a11y.py" shown "$title" 8 >/dev/null && return; done
  fail "no window /$title/ shown"
}
# place TITLE: sets X Y W H of the X11 window and L R T B of the frame around it (0 without one).
place() {
  local id; id=$(xid "$1"); [ -n "$id" ] || fail "no X window /$1/"
  read -r L R T B < <(xprop -id "$id" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $2 + 0, $3 + 0, $4 + 0, $5 + 0}')
  read -r X Y W H < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {print x, y, w, $NF}')
}
centred() { # the window with its frame in the middle of the screen (X11; Wayland places it itself)
  [ -n "$host" ] && return 0
  place "$1"
  near $(( (sw - W - L - R) / 2 )) $(( X - L )) 2 && near $(( (sh - H - T - B) / 2 )) $(( Y - T )) 2 \
    || fail "window /$1/ ${W}x$H at $X,$Y (frame $L $R $T $B) is not centred on ${sw}x$sh"
}
ends_with_zero() {
  keys "$main" ctrl+x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "Ctrl+X did not end the program"
  wait "$pid"; local rc=$?; pid=
  [ $rc -eq 0 ] || fail "exit status $rc"
}
[ "$kind" = wayland ] && { host=$(xwininfo -root -children | awk '/"Weston Compositor/ {print $1; exit}'); [ -n "$host" ] || fail "no weston window"; }
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')

# --- The Preview window: its client area (3048 x 5820 twips and the menu bar), centred ----------
# A face of capitals alone (tests/data/make_test_fonts.py), installed for this session's user.
[ "$kind" = bare ] && mkdir -p "$HOME/.local/share/fonts" && cp "$build/tests/fonts/capitals.ttf" "$HOME/.local/share/fonts/"
"$stage/bin/glyvex" 2>"$work/glyvex.log" &
pid=$! step=preview
settled "$main" 30
[ "$CW $(( CH - MB ))" = "203 388" ] || fail "client area ${CW}x$CH px with a $MB px menu bar, expected 203x388 below it"
full=$CH menu=$MB
centred "$main"
cx=${X:-0} cy=${Y:-0} # for the dark theme's contrast, read from this step's screenshot
shot 01-preview
pass "client area ${CW}x$CH ($MB px menu bar), centred"
# --- Faces as they are (bare): Change Font on a face two foundries make opens on it, and OK changes
# nothing; a face of capitals alone shows each small letter as its own missing-character box.
# cell R: the preview letter of row R (column 0) in the client area: 720 + 240 twips in, 600 + 240 + 360 R down.
cell() { convert "$1" -crop "14x20+64+$(( menu + 56 + 24 * $2 ))" +repage "$work/cell-$2.png"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
# until_shown CONDITION: photographs the Preview window until the shell condition holds on it ($work/now.png;
# the one before: $work/then.png)
until_shown() {
  for _ in $(seq 100); do
    cp "$work/now.png" "$work/then.png" 2>/dev/null; import -window "$(xid "$main")" "$work/now.png" && eval "$1" && return 0
  done; return 1
}
if [ "$kind" = bare ]; then
  step=change-font
  typein "$main" Z003
  until_shown 'same "$work/now.png" "$work/then.png"' || fail "the Preview window does not settle" # drawn in Z003
  cp "$work/now.png" "$work/before.png"
  keys "$main" ctrl+f
  shown '^Select Font Name$'
  keys '^Select Font Name$' Return
  gone '^Select Font Name$'
  until_shown 'same "$work/now.png" "$work/before.png"' || fail "Change Font, then OK, changed the preview"
  pass "Change Font on Z003, OK: the preview is unchanged"
  step=own-glyphs
  typein "$main" Glyvex # (a blank would open the list)
  keys "$main" ctrl+t
  until_shown 'cell "$work/now.png" 0 && cp "$work/cell-0.png" "$work/a.png" && cell "$work/now.png" 1 && cell "$work/now.png" 2 \
    && same "$work/a.png" "$work/cell-1.png" && same "$work/a.png" "$work/cell-2.png"' \
    || fail "the small letters of a face of capitals alone are not all its own missing-character box"
  cell "$work/before.png" 0 && same "$work/a.png" "$work/cell-0.png" && fail "the letters did not change"
  convert "$work/a.png" -format '%[fx:minima]' info: | grep -qv '^1$' || fail "no box drawn"
  shot 01-capitals-only
  keys "$main" ctrl+t
  pass "a, b and c in Glyvex Capitals are one and the same box"
fi
# --- Show All (Ctrl+A): the outer width of the table, 8820 twips = 588 px; the height kept -------
step=show-all
until_size "$main" '[ "$CW" -gt 203 ]' ctrl+a # weston gives a new window the keyboard a moment after mapping it
settled "$main"
if [ -n "$host" ]; then
  [ "$CW" -le 588 ] && [ "$CW" -ge 570 ] || fail "client ${CW} px wide, expected 588 less Qt's own frame"
else
  place "$main"; near $(( CW + L + R )) 588 || fail "outer width $(( CW + L + R )) px, expected 588"
fi
[ "$CH" -eq "$full" ] || fail "Show All changed the client height to $CH"
[ "$kind" = bare ] && centred "$main"
wide=$CW
shot 02-show-all
pass "client ${CW}x$CH"
# --- Compact mode (Ctrl+I): collapsed in place; Enter restores (other ways back: tst_preview) ---
step=compact
[ -z "$host" ] && place "$main" && before="$X $Y"
keys "$main" ctrl+i
until_size "$main" '[ "$CH" -lt 100 ]'
shot 03-compact
keys "$main" Return
until_size "$main" '[ "$CH" -ge "$full" ]'
[ "$CW $CH" = "$wide $full" ] || fail "Enter restored ${CW}x$CH, expected ${wide}x$full"
[ -z "$host" ] && place "$main" && [ "$X $Y" != "$before" ] && fail "moved from $before to $X $Y"
# --- Sentence viewer, in place of the Preview window (a new sentence in it: tst_windows) ---------
step=sentence viewer='^Glyvex Sentence Viewer$'
if [ "$kind" = bare ]; then # from the right-click menu over the window's background
  place "$main"; xdotool mousemove --window "$(xid "$main")" 4 $(( H - 4 )) click 3; sleep 0.4; shot 04-popup; xdotool key s; shown '^Glyvex$'
else opens "$main" '^Glyvex$' alt+f s; fi
typein '^Glyvex$' "The quick brown fox jumps over the lazy dog"
keys '^Glyvex$' Return
shown '^Select Font$'
typein '^Select Font$' "Liberation Serif"
keys '^Select Font$' Return
settled "$viewer"
[ "$CW" -gt 193 ] || fail "viewer only $CW px wide for a long sentence (minimum 2892 twips = 193 px)"
[ "$CUT" = - ] || fail "buttons outside the viewer: $CUT"
centred "$viewer"
gone "$main" 1
shot 05-sentence
keys "$viewer" ctrl+x
gone "$viewer"
shown "$main"
[ "$CW $CH" = "$wide $full" ] || fail "the Preview window came back ${CW}x$CH, not as it was"
# --- Document converter: open a text file, pick a font, export RTF (LibreOffice reading it: tst_rtfinterop)
if [ "$kind" = bare ]; then
  step=converter
  printf 'Glyvex end-to-end check\nSecond line: 12345 & more.\n' > "$work/input.txt"
  keys "$main" alt+f c Return
  for dialog in '^Select File To Convert$' "$work/input.txt" '^Select Font$' "C059" \
      '^Glyvex Document Converter$' alt+e '^Export Converted Document$' "$work/export.rtf"; do
    [ "${dialog:0:1}" = '^' ] && { title=$dialog; shown "$title"; continue; }
    [ "$dialog" = alt+e ] && { centred "$title"; shown "$main"; shot 06-converter; keys "$title" alt+e; continue; }
    typein "$title" "$dialog"; keys "$title" Return
  done
  for _ in $(seq 50); do [ -s "$work/export.rtf" ] && break; sleep 0.1; done
  tr -d '\r\n' <"$work/export.rtf" | grep -q '\\fonttbl{\\f0\\fnil\\fcharset0 C059;}.*Second line: 12345 & more\.' \
    || fail "no file exported with the text in the chosen face: $(head -c 300 "$work/export.rtf")"
  [ "$(fc-match -f '%{family[0]}' C059)" = C059 ] || fail "fc-match C059 finds $(fc-match C059)"
  keys '^Glyvex Document Converter$' ctrl+x
  gone '^Glyvex Document Converter$'
fi
# --- README and About: whole, centred (rows: key, name, title, client area px, twips) -----------
while read -r key step title size twips <&3; do
  opens "$main" "$title" alt+h "$key"
  settled "$title"
  [ "$CW $CH" = "${size/x/ }" ] || fail "client area ${CW}x$CH, expected $size ($twips twips)"
  [ "$CUT" = - ] || fail "buttons outside the window: $CUT"
  centred "$title"
  shot "07-$step"
  # About closed with the mouse on its button: 2400,4200 twips, 900 x 345, its centre at 190,291 px
  if [ "$kind" = bare ] && [ "$key" = a ]; then xdotool mousemove --window "$(xid "$title")" 190 291 click 1
  else keys "$title" Return; fi
  gone "$title"
done 3<<'WINDOWS'
r readme ^Glyvex\sREADME\.txt$ 464x335 6960x5028
a about ^About\sGLYVEX\.\.\.$ 374x315 5604x4728
WINDOWS
# --- Dark theme: the character labels readable on the theme's background ----------------------
if [ "$kind" = dark ]; then
  step=contrast
  # The letters panel of the first screenshot: 240,600 twips in the client area, below the menu bar.
  crop="150x300+$(( cx + 20 ))+$(( cy + menu + 45 ))"
  read -r lo hi < <(convert "$shots/$prefix-01-preview.png" -crop "$crop" -colorspace Gray \
    -format '%[fx:minima] %[fx:maxima]\n' info:)
  ratio=$(awk -v a="$lo" -v b="$hi" 'function L(v) { return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ^ 2.4 }
    BEGIN { r = (L(b) + 0.05) / (L(a) + 0.05); printf "%.1f", r; exit !(r >= 4.5) }') \
    || fail "letters at contrast $ratio:1 on the dark theme (want 4.5)"
  pass "letters at contrast $ratio:1 (darkest $lo, lightest $hi in $crop)"
fi
step=exit
ends_with_zero
# --- A font file given (bare): shown exactly as the same face installed and picked; nothing installed;
# a file that is no font gets one line on standard error and a message box, the other opens all the same.
if [ "$kind" = bare ]; then
  step=font-file
  printf 'no font' >"$work/notafont.ttf"
  fc-list | sort >"$work/fc-before"; ls -lR "$HOME/.local/share/fonts" >"$work/folder-before"
  "$stage/bin/glyvex" "$build/tests/fonts/serif.ttf" "$work/notafont.ttf" 2>"$work/file.log" &
  pid=$!
  shown '^Glyvex$' 30 # the message box, once the Preview window is up
  keys '^Glyvex$' Return
  gone '^Glyvex$'
  until_shown 'same "$work/now.png" "$work/then.png"' || fail "the Preview window does not settle"
  cp "$work/now.png" "$work/opened.png"
  [ "$(grep -c . "$work/file.log")" = 1 ] && grep -q "^glyvex: .*notafont\.ttf.*: it is not a font file\.$" "$work/file.log" \
    || fail "standard error: $(cat "$work/file.log")"
  ends_with_zero
  fc-list | sort | cmp -s - "$work/fc-before" || fail "the fonts installed changed"
  ls -lR "$HOME/.local/share/fonts" | cmp -s - "$work/folder-before" || fail "the user's font folder changed"
  cp "$build/tests/fonts/serif.ttf" "$HOME/.local/share/fonts/"
  "$stage/bin/glyvex" 2>>"$work/glyvex.log" &
  pid=$!
  shown "$main" 30
  typein "$main" Glyvex
  keys "$main" Down # from Glyvex Capitals to Glyvex Serif
  until_shown 'same "$work/now.png" "$work/opened.png"' || fail "the face installed looks otherwise than the file opened"
  pass "serif.ttf given: the same pixels as installed and picked; fc-list and the font folder unchanged; one line"
  ends_with_zero
  rm "$HOME/.local/share/fonts/serif.ttf"
fi
# --- High DPI: twice the pixels per twip, icons drawn for that size ----------------------------
if [ "$kind" = bare ]; then
  step=scale-2
  QT_SCALE_FACTOR=2 "$stage/bin/glyvex" 2>"$work/glyvex-2x.log" &
  pid=$!
  shown "$main" 30
  centred "$main"
  near "$W" 406 2 && near "$H" $(( 2 * full )) 3 || fail "${W}x$H px at scale 2, expected about twice 203x$full"
  xprop -id "$(xid "$main")" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "no 64-pixel window icon for scale 2"
  shot 08-scale-2
  pass "at QT_SCALE_FACTOR=2: ${W}x$H, centred, 64-pixel icon offered"
  ends_with_zero
fi
echo "PASS"
