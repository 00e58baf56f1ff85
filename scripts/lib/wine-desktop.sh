# Sourced by the scripts that run Windows programs: a virtual display with a
# window manager and a running Wine server, as a user's desktop has them.
# start_wine_desktop sets DISPLAY, WINEPREFIX, WINEDEBUG and TZ and installs
# an EXIT trap that ends everything it started.

wine_desktop_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_desktop_xvfb=""
wine_desktop_wm=""

stop_wine_desktop() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$wine_desktop_wm" ] && kill "$wine_desktop_wm" 2>/dev/null
  [ -n "$wine_desktop_xvfb" ] && kill "$wine_desktop_xvfb" 2>/dev/null
  wine_desktop_wm=""
  wine_desktop_xvfb=""
}

start_wine_desktop() {
  local display="" n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
  done
  Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  wine_desktop_xvfb=$!
  export DISPLAY=$display
  export WINEPREFIX="$wine_desktop_root/build/windows/wineprefix" WINEDEBUG=-all
  # The statistics tests check daylight-saving rules in a real zone.
  export TZ=Europe/Paris
  trap stop_wine_desktop EXIT
  sleep 1
  # A desktop as users have one: windows are managed, activated and hidden by a
  # window manager, so the end-to-end figures measure what a user would see.
  openbox --sm-disable >/dev/null 2>&1 </dev/null &
  wine_desktop_wm=$!
  # Start Wine's server and its system processes (services, desktop) here, with
  # their output away from ctest's pipes: a Windows child holds its parent's
  # pipes open, and ctest would wait for these long-lived processes.
  /usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null || true
  "$wine_desktop_root/scripts/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null || true
}
