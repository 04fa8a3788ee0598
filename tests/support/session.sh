# Sourced by check_e2e.sh: session_start KIND WORKDIR starts a display session (bare: Xvfb alone;
# openbox; dark: openbox, GTK's dark theme; wayland: weston inside Xvfb) with its own D-Bus and
# accessibility bus; DISPLAY takes the keys and gives the screenshots. session_stop ends it by ids.
session_pids=()
# until_ok COMMAND...: waits up to 10 s for the command to succeed
until_ok() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
# started LOG COMMAND...: starts the command in the background, its output to LOG, for session_stop
started() { local log=$1; shift; "$@" >"$log" 2>&1 & session_pids+=($!); }

session_start() {
  local kind=$1 work=$2 n bus
  export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
  mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME GTK_THEME
  for n in $(seq 90 190); do [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break; done
  started "$work/xvfb.log" Xvfb :$n -screen 0 1280x1024x24 -dpi 96 -nolisten tcp
  export DISPLAY=:$n
  until_ok xdpyinfo || { echo "Xvfb :$n did not start"; return 1; }
  if [ "$kind" = openbox ] || [ "$kind" = dark ]; then
    started "$work/openbox.log" openbox
    until_ok sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
    [ "$kind" = dark ] && export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
  elif [ "$kind" = wayland ]; then
    started "$work/weston.log" weston --backend=x11-backend.so --socket=wl-glyvex --width=1280 --height=1024
    until_ok test -S "$XDG_RUNTIME_DIR/wl-glyvex" || { echo "weston did not start"; cat "$work/weston.log"; return 1; }
    sleep 1 # its shell and panel
    export WAYLAND_DISPLAY=wl-glyvex QT_QPA_PLATFORM=wayland
  fi
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || { echo "no D-Bus"; return 1; }
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  session_pids+=($(sed -n 2p <<<"$bus"))
  started "$work/at-spi.log" /usr/libexec/at-spi-bus-launcher --launch-immediately
  sleep 1
}
session_stop() {
  local i
  for (( i=${#session_pids[@]}-1; i>=0; i-- )); do kill "${session_pids[i]}" 2>/dev/null; done
  for i in "${session_pids[@]}"; do wait "$i" 2>/dev/null; done
  session_pids=()
}
