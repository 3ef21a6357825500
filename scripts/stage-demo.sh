#!/usr/bin/env bash
# Lays out an installation of the launcher from the win32 build: the program, its updater, the
# demo plugins in PLUGINS\ and the language files and manuals in DOCUMENTATION\.
set -euo pipefail
cd "$(dirname "$0")/.."
dest=${1:?usage: stage-demo.sh DIR}
build=build/win32
mkdir -p "$dest/PLUGINS" "$dest/DOCUMENTATION"
cp "$build/src/KestrumClient.exe" "$dest/"
[ -f "$build/updater/Brevan.exe" ] && cp "$build/updater/Brevan.exe" "$dest/"
if compgen -G "$build/sdk/demo/*.dll" >/dev/null; then cp "$build"/sdk/demo/*.dll "$dest/PLUGINS/"; fi
if compgen -G "sdk/demo/DOCUMENTATION/*" >/dev/null; then cp sdk/demo/DOCUMENTATION/* "$dest/DOCUMENTATION/"; fi
