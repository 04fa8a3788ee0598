# Sourced by check_e2e.sh: session_start KIND WORKDIR starts a display session (bare: Xvfb alone;
# openbox; dark: openbox, GTK's dark theme; wayland: weston inside Xvfb) with its own D-Bus and
# accessibility bus; DISPLAY takes the keys and gives the screenshots. session_stop ends it by ids.
# Sessions started side by side never share a display: the X server picks a free one itself, and
# each part is checked to be up (and to be this session's) before anything uses it.
session_pids=()
# until_ok COMMAND...: waits up to 30 s for the command to succeed
until_ok() { for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
# started LOG COMMAND...: starts the command in the background, its output to LOG, for session_stop
started() { local log=$1; shift; "$@" >"$log" 2>&1 & session_pids+=($!); }
alive() { kill -0 "${session_pids[-1]}" 2>/dev/null; }
# The window manager named in the root window's check window, whose own copy of the property points
# at itself (a check window left by a window manager that has gone fails this).
wm_is() {
  local id; id=$(xprop -root _NET_SUPPORTING_WM_CHECK | awk '/window id/ {print $NF}') && [ -n "$id" ] || return 1
  xprop -id "$id" _NET_SUPPORTING_WM_CHECK | grep -q "$id" && xprop -id "$id" _NET_WM_NAME | grep -qi "\"$1\""
}

session_start() {
  local kind=$1 work=$2 bus
  export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
  mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME GTK_THEME DISPLAY
  : >"$work/display"
  started "$work/xvfb.log" Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display"
  until_ok grep -q '^[0-9]' "$work/display" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=:$(head -n 1 "$work/display")
  until_ok xdpyinfo || { echo "Xvfb $DISPLAY does not answer"; return 1; }
  if [ "$kind" = openbox ] || [ "$kind" = dark ]; then
    started "$work/openbox.log" openbox
    until_ok wm_is openbox && alive || { echo "openbox did not start on $DISPLAY"; cat "$work/openbox.log"; return 1; }
    [ "$kind" = dark ] && export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
  elif [ "$kind" = wayland ]; then
    started "$work/weston.log" weston --backend=x11-backend.so --socket=wl-glyvex --width=1280 --height=1024
    # Up when its socket answers with a desktop shell (weston-info lists the interfaces it offers).
    until_ok sh -c 'WAYLAND_DISPLAY=wl-glyvex weston-info | grep -q xdg_wm_base' && alive \
      || { echo "weston did not start"; cat "$work/weston.log"; return 1; }
    export WAYLAND_DISPLAY=wl-glyvex QT_QPA_PLATFORM=wayland
  fi
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || { echo "no D-Bus"; return 1; }
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  session_pids+=($(sed -n 2p <<<"$bus"))
  started "$work/at-spi.log" /usr/libexec/at-spi-bus-launcher --launch-immediately
  until_ok dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    || { echo "the accessibility bus did not start"; cat "$work/at-spi.log"; return 1; }
}
session_stop() {
  local i
  for (( i=${#session_pids[@]}-1; i>=0; i-- )); do kill "${session_pids[i]}" 2>/dev/null; done
  for i in "${session_pids[@]}"; do wait "$i" 2>/dev/null; done
  session_pids=()
}
