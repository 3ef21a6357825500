#!/bin/sh
# Runs the update server on this machine with PHP's built-in web server, for trying it out, the
# demo and the tests. Loopback only: a real deployment goes behind Apache or nginx (README.md).
# Usage: serve.sh OFFER_DIR PORT [extra php options, e.g. -d memory_limit=16M]
set -eu
if [ "$#" -lt 2 ]; then
  echo "usage: $0 OFFER_DIR PORT [php options...]" >&2
  exit 2
fi
offer=$1
port=$2
shift 2
if [ ! -d "$offer" ]; then
  echo "$0: offer folder not found: $offer" >&2
  exit 2
fi
case $port in
  ''|*[!0-9]*) echo "$0: PORT must be a number: $port" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
KC_OFFER_DIR=$(cd "$offer" && pwd)
export KC_OFFER_DIR
# Warnings go to the log (stderr), never into an answer.
exec php -d display_errors=0 -d log_errors=1 -d error_reporting=-1 -d output_buffering=0 \
  "$@" -S "127.0.0.1:$port" -t "$here/public"
