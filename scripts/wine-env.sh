# Sourced by the scripts that run Windows programs: one throw-away Wine prefix per run, a
# pre-started wineserver (else every program waits for Wine's background processes) and a
# virtual X display when the caller has none.
# Usage: source scripts/wine-env.sh; kc_wine_up [prefix]; ...; kc_wine_down

kc_wine_up() {
  export WINEPREFIX=${1:-$(mktemp -d /tmp/kc-wine.XXXXXX)}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  KC_XVFB_PID=""
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
      KC_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
      break
    done
  fi
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1 || true
  # One virtual desktop for every program: a real taskbar with a notification area (without
  # it, removing a tray icon waits two seconds), and the Windows fonts' metric twins.
  local reg=(
    'HKCU\Software\Wine\Explorer|Desktop|Default'
    'HKCU\Software\Wine\Explorer\Desktops|Default|1280x800'
    'HKCU\Software\Wine\Fonts\Replacements|Times New Roman|Liberation Serif'
    'HKCU\Software\Wine\Fonts\Replacements|Arial|Liberation Sans'
  )
  local r key name value
  for r in "${reg[@]}"; do
    IFS='|' read -r key name value <<<"$r"
    wine reg add "$key" /v "$name" /d "$value" /f </dev/null >/dev/null 2>&1 || true
  done
  # Wine links the documents folder to $HOME; the program's data stays inside the prefix.
  local docs="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
  if [ -L "$docs" ]; then rm -f "$docs" && mkdir -p "$docs"; fi
  # The desktop settings take effect when the desktop starts again: restart the server, then
  # bring the desktop up before any program does and keep it up. Wine closes a desktop a
  # second after its last program ends, and a program that exits while it brings the desktop
  # up again can hang in Wine 8 on a loaded machine. A console waiting on a pipe that never
  # delivers holds the desktop until the server stops.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1
  local hold="$WINEPREFIX/.kc-desktop-hold"
  rm -f "$hold" && mkfifo "$hold"
  wine cmd /k <"$hold" >/dev/null 2>&1 &
  exec {KC_HOLD_FD}>"$hold"
  wine explorer /desktop=Default,1280x800 </dev/null >/dev/null 2>&1 &
  local i
  for i in $(seq 1 100); do
    xwininfo -root -tree 2>/dev/null | grep -q 'Wine desktop' && break
    sleep 0.1
  done
}

kc_wine_down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KC_HOLD_FD:-}" ]; then exec {KC_HOLD_FD}>&-; KC_HOLD_FD=""; fi
  if [ -n "${KC_XVFB_PID:-}" ]; then kill "$KC_XVFB_PID" 2>/dev/null || true; fi
  case "${WINEPREFIX:-}" in /tmp/kc-wine.*) rm -rf "$WINEPREFIX" ;; esac
}
