#!/usr/bin/env bash
# The installed program: a staged `cmake --install` (layout, desktop entry, AppStream metadata),
# the .deb cpack builds (fields, files, lintian) installed as root, started and purged without a
# trace; and, without a display, the program stopping in one line.
# Usage: check_install.sh GLYVEX_BINARY BUILD_DIR
set -u
build=$(cd "$2" && pwd) repo=$(cd "$(dirname "$0")/.." && pwd)
for tool in desktop-file-validate appstreamcli xvfb-run xdotool dpkg-deb cpack file lintian make xdg-mime gio; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is needed (make test installs it)"; exit 1; }
done
id=org.example.Glyvex stage=$build/stage-install work=$build/install-check status=0
rm -rf "$stage" "$work" && mkdir -p "$work/runtime" "$work/home" && chmod 700 "$work/runtime"
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok   $*"; }
# check DESCRIPTION COMMAND...: runs the command, its output kept in a log shown on failure.
check() {
  local what=$1 name=${1//[^a-z0-9]/-}; shift
  if "$@" >"$work/${name:0:40}.log" 2>&1; then ok "$what"; else cat "$work/${name:0:40}.log"; fail "$what"; return 1; fi
}

# --- Staged install ----------------------------------------------------------------------------
check "cmake --install" cmake --install "$build" --prefix "$stage" || exit 1
[ "$(readlink "$stage/bin/glyvex")" = ../lib/glyvex/glyvex ] && [ -x "$stage/lib/glyvex/glyvex" ] \
  || fail "bin/glyvex is not a relative link to the program ($(ls -l "$stage/bin/glyvex" 2>&1))"
[ -f "$stage/lib/glyvex/README.txt" ] || fail "no README.txt in lib/glyvex/"
for size in 16 22 24 32 48 64 128 256; do
  icon=$stage/share/icons/hicolor/${size}x$size/apps/$id.png
  file -b "$icon" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "icon ${size}x$size: $(file -b "$icon" 2>&1)"
done
desktop=$stage/share/applications/$id.desktop metainfo=$stage/share/metainfo/$id.metainfo.xml
check "desktop-file-validate" desktop-file-validate "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
[ -x "$stage/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" ] || fail "the desktop entry runs a program not in bin/"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" && grep -q "<id>$id</id>" "$metainfo" \
  || fail "metainfo names another id or desktop entry"

# shows PROGRAM [FILE...]: the program started from / under Xvfb shows its Preview window (then is
# stopped); what it says on standard error goes to $work/stderr.
shows() {
  (cd / && timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" \
    HOME="$work/home" bash -c '"$@" 2>"'"$work/stderr"'" & pid=$!
    w=$(timeout 30 xdotool search --all --sync --onlyvisible --pid $pid --name "^Glyvex 2\.0$" | head -n 1)
    kill $pid; wait $pid 2>/dev/null; [ -n "$w" ]' shows "$@")
}

# --- Font files: the entry hands them over, and claims exactly the types of those the program opens:
# one file of each kind (tests/data/make_test_fonts.py), typed as a file manager types it (shared-mime-info,
# through GLib: "*.otf" alone could also be an OpenDocument formula template).
grep -q '^Exec=[^ ]* %F$' "$desktop" || fail "the desktop entry does not hand files over: $(grep ^Exec= "$desktop")"
samples=("$build"/tests/fonts/formats/*)
if check "the staged program opens ${#samples[@]} kinds of font file" shows "$stage/bin/glyvex" "${samples[@]}" \
    && [ ! -s "$work/stderr" ]; then
  types=$(for f in "${samples[@]}"; do gio info -a standard::content-type "$f" | sed -n 's/.*content-type: //p'; done | sort -u)
  claimed=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d' | sort)
  listed=$(sed -n 's:.*<mediatype>\(.*\)</mediatype>.*:\1:p' "$metainfo" | sort)
  [ "$claimed" = "$types" ] && [ "$listed" = "$types" ] && ok "entry and metadata claim the types opened: $(echo $types)" \
    || fail "types opened: $(echo $types); the entry claims: $(echo $claimed); the metadata lists: $(echo $listed)"
else
  fail "not every kind of font file opened: $(cat "$work/stderr")"
fi

# --- Debian package ---------------------------------------------------------------------------
check "cpack -G DEB" cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package"
deb=$(ls "$work/package"/glyvex_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail "cpack built no package"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
for need in libqt6widgets6 libqt6gui6 libqt6core6 libfontconfig1 libuchardet0 fonts-liberation; do
  grep -Eq "(^|, )$need( |,|$)" <<<"$(field Depends)" || fail "Depends lacks $need: $(field Depends)"
done
grep -q qt6-wayland <<<"$(field Recommends)" || fail "qt6-wayland is not recommended"
dpkg-deb -c "$deb" >"$work/contents.txt"
for path in 'bin/glyvex -> ../lib/glyvex/glyvex' lib/glyvex/README.txt share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/icons/hicolor/256x256/apps/$id.png share/man/man1/glyvex.1.gz \
    share/doc/glyvex/copyright share/doc/glyvex/changelog.gz; do
  grep -qF -- " ./usr/$path" "$work/contents.txt" || fail "the package lacks /usr/$path"
done
check "lintian: no errors or warnings" lintian -I --fail-on error,warning "$deb"

# Installed into this machine, started from the PATH, then purged: nothing of it may remain.
if [ "$(id -u)" -ne 0 ] || dpkg-query -W glyvex >/dev/null 2>&1; then
  echo "skip installing the package: needs root and no glyvex package already installed"
else
  apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=300 "$@"; }
  if check "apt-get install $deb" apt_get install --no-install-recommends "$deb"; then
    dpkg-query -L glyvex >"$work/installed.txt"
    check "the installed package starts as glyvex from the PATH" shows glyvex
    default=$(XDG_DATA_HOME="$work/home/none" xdg-mime query default font/ttf)
    [ "$default" = $id.desktop ] && ok "xdg-mime: font/ttf opens with $default" || fail "xdg-mime: font/ttf opens with '$default'"
    check "apt-get purge glyvex" apt_get purge glyvex
    left=$(while read -r path; do [ -e "$path" ] || [ -L "$path" ] && [ ! -d "$path" ] && echo "$path"; done <"$work/installed.txt")
    dpkg-query -W glyvex >/dev/null 2>&1 && left+=" (dpkg still knows glyvex)"
    for dir in /usr/lib/glyvex /usr/share/doc/glyvex; do [ -e "$dir" ] && left+=" $dir"; done
    [ -z "$left" ] && ok "purged: none of its $(wc -l <"$work/installed.txt") paths remain" || fail "left after the purge: $left"
  fi
fi

# --- Without a display: the program reports a display it cannot reach in one line, status 2.
out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE DISPLAY=:77 "$1" 2>&1)
rc=$?
[ $rc -eq 2 ] && [ "$(wc -l <<<"$out")" -eq 1 ] && grep -q 'cannot open the display' <<<"$out" \
  && ok "DISPLAY=:77 (no server): status 2, one line" || fail "DISPLAY=:77 (no server) gave status $rc and: $out"
[ $status -eq 0 ] && echo "PASS"
exit $status
