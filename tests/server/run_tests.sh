#!/bin/sh
# Runs the update server's tests (CTest calls this). Needs php-cli and python3, nothing else.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
python=$(command -v python3 || true)
[ -n "$python" ] || python=/root/.pyenv/shims/python3
command -v php >/dev/null || { echo "php (php-cli) is required" >&2; exit 1; }
exec "$python" "$here/test_server.py" "$@"
