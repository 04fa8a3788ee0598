#!/usr/bin/env bash
# The installed program: the layout of a staged `cmake --install`, the desktop entry and the
# AppStream metadata through their validators, the installed program starting through its link
# on the PATH and finding README.txt beside itself (or reporting it missing); the .deb that
# cpack builds: its fields, its dependencies (satisfied on this Debian), its files, lintian's
# verdict, and the package installed into this machine (as root), started and purged without a
# trace; and `make run` without a display stopping with one line before building anything.
# Usage: check_install.sh GLYVEX_BINARY BUILD_DIR
set -u
build=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
for tool in desktop-file-validate appstreamcli xvfb-run xdotool import dpkg-deb cpack file lintian make; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is needed (make test installs it)"; exit 1; }
done
id=org.example.Glyvex
stage=$build/stage-install
work=$build/install-check
shots=$repo/artifacts/screenshots
rm -rf "$stage" "$work"
mkdir -p "$work" "$shots"
rm -f "$shots"/install-*.png
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok   $*"; }

# --- Staged install ----------------------------------------------------------------------------
cmake --install "$build" --prefix "$stage" >"$work/install.log" 2>&1 || { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
link=$stage/bin/glyvex
if [ -L "$link" ] && [ "$(readlink "$link")" = ../lib/glyvex/glyvex ] && [ -x "$stage/lib/glyvex/glyvex" ]; then
  ok "bin/glyvex is a relative link to lib/glyvex/glyvex"
else
  fail "bin/glyvex is not a relative link to the program ($(ls -l "$link" 2>&1))"
fi
[ -f "$stage/lib/glyvex/README.txt" ] && ok "README.txt beside the program" || fail "no README.txt in lib/glyvex/"
desktop=$stage/share/applications/$id.desktop
metainfo=$stage/share/metainfo/$id.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
  icon=$stage/share/icons/hicolor/${size}x$size/apps/$id.png
  file -b "$icon" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "icon ${size}x$size: $(file -b "$icon" 2>&1)"
done
ok "icons in hicolor at 16 to 256 pixels"

# --- Validators and the agreement between the files --------------------------------------------
desktop-file-validate "$desktop" && ok "desktop-file-validate $desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
  && ok "appstreamcli validate $metainfo" || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$stage/bin/$exec_name" ] || fail "the desktop entry runs '$exec_name', which is not in bin/"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launches another desktop entry"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo has another id"
ok "desktop entry, icon and metainfo name one another"

# --- The installed program -------------------------------------------------------------------
# Runs a session script under Xvfb with the program given as $1.
session() {
  timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" \
    HOME="$work/home" bash -c "$1" session "${@:2}"
}
mkdir -p "$work/runtime" "$work/home" && chmod 700 "$work/runtime"
# Session script: the program given as $1 shows its Preview window (then it is stopped).
shows='"$1" & pid=$!
w=$(timeout 30 xdotool search --all --sync --onlyvisible --pid $pid --name "^Glyvex 2\.0$" | head -n 1)
kill $pid; wait $pid 2>/dev/null; [ -n "$w" ]'
if (cd / && session "$shows" "$link") 2>"$work/start.log"; then
  ok "the installed program starts through bin/glyvex and shows its window"
else
  cat "$work/start.log"; fail "the installed program did not start"
fi

# Without README.txt beside it the program says so: the message box, then the window with its
# note. (check_e2e.sh shows the window finding the file in a complete install.)
cp -a "$stage" "$work/no-readme"
rm "$work/no-readme/lib/glyvex/README.txt"
cat > "$work/no-readme.sh" <<'SESSION'
set -u
"$1" 2>/dev/null & pid=$!
find() { timeout 10 xdotool search --all --sync --onlyvisible --pid $pid --name "$1" | head -n 1; }
press() { xdotool windowfocus --sync "$1"; shift; for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.2; done; }
main=$(find '^Glyvex 2\.0$')
[ -n "$main" ] || { echo "no Preview window"; kill $pid; exit 1; }
press "$main" alt+h r
box=$(find '^README\.txt Not Found$')
[ -n "$box" ] || { echo "no message box about the missing README.txt"; kill $pid; exit 1; }
import -window "$box" "$2/install-readme-missing.png"
press "$box" Return
readme=$(find '^Glyvex README\.txt$')
[ -n "$readme" ] || { echo "no README window after the message box"; kill $pid; exit 1; }
import -window "$readme" "$2/install-readme-note.png"
press "$readme" Return
press "$main" ctrl+x
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { echo "Ctrl+X did not end the program"; kill $pid; exit 1; }
wait $pid
SESSION
if session 'bash "$1" "$2" "$3"' "$work/no-readme.sh" "$work/no-readme/bin/glyvex" "$shots" >"$work/no-readme.log" 2>&1; then
  ok "with README.txt removed, the message box and the README window's note appear"
else
  cat "$work/no-readme.log"; fail "missing README.txt not reported as expected"
fi

# --- Debian package ---------------------------------------------------------------------------
pkgdir=$work/package
if cpack --config "$build/CPackConfig.cmake" -G DEB -B "$pkgdir" >"$work/cpack.log" 2>&1; then
  deb=$(ls "$pkgdir"/glyvex_*.deb 2>/dev/null | head -n 1)
fi
if [ -z "${deb:-}" ]; then
  cat "$work/cpack.log"; fail "cpack -G DEB built no package"
else
  ok "cpack built $deb"
  field() { dpkg-deb -f "$deb" "$1"; }
  depends=$(field Depends)
  for need in libqt6widgets6 libqt6gui6 libqt6core6 libfontconfig1 libuchardet0 fonts-liberation; do
    grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "Depends lacks $need: $depends"
  done
  grep -q 'qt6-wayland' <<<"$(field Recommends)" || fail "qt6-wayland is not recommended"
  field Maintainer | grep -q '@example\.org>' || fail "Maintainer: $(field Maintainer)"
  field Homepage | grep -q '^https://www\.example\.org/' || fail "Homepage: $(field Homepage)"
  # Every dependency is met by what is installed on this Debian.
  IFS=',' read -ra items <<<"$depends"
  for item in "${items[@]}"; do
    item=$(echo "$item" | xargs)
    name=${item%% *}
    have=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)
    if [ -z "$have" ]; then fail "dependency $name is not installed here"; continue; fi
    if [[ $item =~ \((..?)\ (.*)\) ]]; then
      dpkg --compare-versions "$have" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" || fail "$name $have does not meet $item"
    fi
  done
  ok "Depends: $depends"
  dpkg-deb -c "$deb" > "$work/contents.txt"
  for path in './usr/bin/glyvex -> ../lib/glyvex/glyvex' ./usr/lib/glyvex/glyvex ./usr/lib/glyvex/README.txt \
      "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
      "./usr/share/icons/hicolor/256x256/apps/$id.png" ./usr/share/man/man1/glyvex.1.gz \
      ./usr/share/doc/glyvex/copyright ./usr/share/doc/glyvex/changelog.gz; do
    grep -qF -- " $path" "$work/contents.txt" || fail "the package lacks $path"
  done
  # lintian: no errors or warnings; its informational tags are listed.
  if lintian -I --fail-on error,warning "$deb" >"$work/lintian.log" 2>"$work/lintian.err"; then
    ok "lintian: no errors or warnings"
  else
    cat "$work/lintian.err"; fail "lintian found errors or warnings"
  fi
  sed 's/^/     lintian: /' "$work/lintian.log"
  # Installed into this machine, started from the PATH, then purged: nothing of it may remain.
  if [ "$(id -u)" -ne 0 ] || dpkg-query -W glyvex >/dev/null 2>&1; then
    echo "skip installing the package: needs root and no glyvex package already installed"
  else
    apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=300 "$@" >>"$work/apt.log" 2>&1; }
    if apt_get install --no-install-recommends "$deb"; then
      dpkg-query -L glyvex >"$work/installed.txt"
      if (cd / && session "$shows" glyvex) 2>"$work/deb-start.log"; then
        ok "the installed package starts as glyvex from the PATH"
      else
        cat "$work/deb-start.log"; fail "the installed package did not start"
      fi
      apt_get purge glyvex || { tail -n 20 "$work/apt.log"; fail "apt-get purge glyvex"; }
      dpkg-query -W glyvex >/dev/null 2>&1 && fail "dpkg still knows glyvex after the purge"
      left=$(while read -r path; do [ -e "$path" ] || [ -L "$path" ] && [ ! -d "$path" ] && echo "$path"; done <"$work/installed.txt")
      for dir in /usr/lib/glyvex /usr/share/doc/glyvex; do [ -e "$dir" ] && left+=" $dir"; done
      [ -z "$left" ] && ok "purged: none of its $(wc -l <"$work/installed.txt") paths remain" || fail "left after the purge: $left"
    else
      tail -n 20 "$work/apt.log"; fail "apt-get install $deb"
    fi
  fi
fi

# --- make run without a display -----------------------------------------------------------------
# It stops before installing or building anything (a fresh build folder is never made) and says
# what to do in one line; make adds its own "***" line.
fresh=$work/no-display-build
out=$(cd "$repo" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u MAKEFLAGS -u MAKELEVEL -u MFLAGS \
  make --no-print-directory run BUILD="$fresh" 2>&1)
rc=$?
own=$(grep -v '^make: \*\*\*' <<<"$out")
if [ $rc -ne 0 ] && [ ! -e "$fresh" ] && [ "$(wc -l <<<"$own")" -eq 1 ] && grep -q '^glyvex: no display found.*xvfb-run' <<<"$own"; then
  ok "make run without a display: status $rc, nothing built, one line: $own"
else
  fail "make run without a display (status $rc, build folder $(test -e "$fresh" && echo made || echo absent)): $out"
fi

[ $status -eq 0 ] && echo "PASS"
echo "screenshots: $shots"
exit $status
