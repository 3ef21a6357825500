#!/usr/bin/env bash
# Runs every test: the portable logic natively with sanitizers, then the Windows builds (i686
# and x86_64) under Wine on a virtual display. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then scripts/setup.sh; fi

scripts/build.sh native
ctest --preset native

scripts/build.sh win32
scripts/build.sh win64

source scripts/wine-env.sh
kc_wine_up
trap kc_wine_down EXIT
status=0
ctest --preset win32 || status=1
ctest --preset win64 || status=1
exit $status
