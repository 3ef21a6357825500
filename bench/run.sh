#!/usr/bin/env bash
# Builds the benchmarks in build/bench32, runs them under Wine in a throw-away prefix and prints
# one table: each figure of the launcher beside its baseline from the same run, and the ratio.
# Not part of CI or of scripts/test.sh: the figures depend on the machine and are only reported.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench32
work=$(mktemp -d /tmp/kc-bench.XXXXXX)
wine_up=""
source scripts/wine-env.sh
finish() {
  if [ -n "$wine_up" ]; then kc_wine_down; fi
  rm -rf "$work"
}
trap finish EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release >"$work/build.log"
ninja -C "$build" kc_benchmarks >>"$work/build.log" || { cat "$work/build.log"; exit 1; }

kc_wine_up
wine_up=1
out=$work/out.txt
: >"$out"

run() {  # a benchmark program under Wine, its lines shown as they come and kept for the table
  wine "$build/bench/$1.exe" "${@:2}" </dev/null 2>/dev/null | tr -d '\r' | tee -a "$out" | grep -v '^ROW' || true
}

echo "== catalog"
run kc_bench_catalog
echo "== download"
run kc_bench_download
echo "== md5"
head -c $((200 * 1024 * 1024)) /dev/urandom >"$work/big.bin"
run kc_bench_md5 "Z:${work//\//\\}\\big.bin"
# Linux md5sum on the same (now cached) file, for reference only.
times=()
for _ in 1 2 3; do
  t0=$(date +%s%N)
  sum=$(md5sum "$work/big.bin" | cut -d' ' -f1)
  times+=($(( ($(date +%s%N) - t0) / 1000000 )))
done
ms=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
echo "md5sum 200 MB: ${ms} ms (median of 3), digest ${sum^^}"
printf 'ROW\tmd5sum 200 MB (MB/s)\t%s\t-\t-\treport\n' "$(awk -v ms="$ms" 'BEGIN { printf "%.0f", 200000 / ms }')" >>"$out"
rm -f "$work/big.bin"

echo
echo "load average during the run: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
awk -F'\t' 'BEGIN { printf "%-30s %10s %10s %7s %9s\n", "benchmark", "launcher", "baseline", "ratio", "goal" }
            $1 == "ROW" { printf "%-30s %10s %10s %7s %9s\n", $2, $3, $4, $5, $6 }' "$out"
