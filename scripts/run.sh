#!/usr/bin/env bash
# Builds the launcher and starts it under Wine on its bundled demo plugins, with the reference
# update server on loopback offering a newer demo plugin (Commands > Check for... > Kestrum...).
# On a machine without a display it runs on a virtual one, saves a screenshot of the running
# program and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then scripts/setup.sh; fi
scripts/build.sh win32 >/dev/null

demo=${KC_DEMO_DIR:-$PWD/build/demo}
offer=$PWD/build/demo-offer
scripts/stage-demo.sh "$demo"
rm -rf "$offer" && mkdir -p "$offer"
cp build/win32/sdk/demo-next/Orvalis.dll "$offer/"           # newer than the installed one
cp build/win32/sdk/demo/Saldrin.dll sdk/demo/DOCUMENTATION/LSUPP_DEF.txt "$offer/"  # current

port=47801
server/serve.sh "$offer" "$port" >"$PWD/build/demo-server.log" 2>&1 &
server_pid=$!
had_display=${DISPLAY:-}
source scripts/wine-env.sh
cleanup() {
  kill "$server_pid" 2>/dev/null || true
  [ -n "${KC_XVFB_PID:-}" ] && kill "$KC_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
kc_wine_up "${KC_WINEPREFIX:-$PWD/build/demo-wine}"

# A first run opens on Bulgaria's devices; later runs keep what the user chose.
settings_dir="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Kestrum Client"
if [ ! -f "$settings_dir/Config.txt" ]; then
  mkdir -p "$settings_dir"
  printf '%s\r\n' "Country:" "BULGARIA" "Plugin name:" "" "COM Port:" "0" "Baudrate:" "7" "Port:" "" \
    "IP Address:" "" "Logical number:" "1" "Last device:" "Orvalis FP-550" "Communication type:" "0" \
    "Check for Kestrum updates on start:" "0" "Last device:" "0" >"$settings_dir/Config.txt"
fi

exe="$demo/KestrumClient.exe"
if [ -n "$had_display" ]; then
  echo "Starting Kestrum Client on $DISPLAY; update server on http://127.0.0.1:$port/ (log: build/demo-server.log)."
  wine "$exe" || true
  wineserver -k >/dev/null 2>&1 || true
else
  shot=${KC_SCREENSHOT:-$PWD/build/kestrum-client.png}
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  sleep "${KC_SHOT_DELAY:-8}"
  import -window root "$shot"
  echo "No display: Kestrum Client ran on virtual display $DISPLAY; screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
fi
