#!/usr/bin/env bash
# Builds the launcher and starts it under Wine on its bundled demo plugins. On a machine without
# a display it runs on a virtual one, saves a screenshot of the running program and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then scripts/setup.sh; fi
scripts/build.sh win32 >/dev/null

demo=${KC_DEMO_DIR:-$PWD/build/demo}
scripts/stage-demo.sh "$demo"

had_display=${DISPLAY:-}
source scripts/wine-env.sh
kc_wine_up "${KC_WINEPREFIX:-$HOME/.kestrum-wine}"

# Documents and application data of the demo live in the prefix; the program in $demo.
exe="$demo/KestrumClient.exe"
if [ -n "$had_display" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting Kestrum Client on $DISPLAY (close it with Exit)."
  wine "$exe"
  wineserver -k >/dev/null 2>&1 || true
else
  shot=${KC_SCREENSHOT:-$PWD/build/kestrum-client.png}
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  sleep "${KC_SHOT_DELAY:-8}"
  import -window root "$shot"
  echo "No display: Kestrum Client ran on virtual display $DISPLAY; screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  kc_wine_down
fi
