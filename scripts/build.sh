#!/usr/bin/env bash
# Configures and builds one preset: native, win32 (i686, primary) or win64 (x86_64).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: build.sh native|win32|win64}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
