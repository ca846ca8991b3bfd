#!/usr/bin/env bash
# Fuzzes the project file reader for the given number of seconds (default 60)
# with libFuzzer, under AddressSanitizer and UBSan. Needs clang.
#   scripts/fuzz.sh 1800
# New inputs land in build-fuzz/corpus; crashes, hangs and leaks in
# build-fuzz/hallazgos (keep each, once fixed, in fuzz/regresion).
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}

command -v clang++ >/dev/null || {
  echo "Falta clang: sudo apt-get install clang libclang-rt-14-dev" >&2
  exit 2
}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVARRO_FUZZ=ON \
  -DTEVARRO_TESTS=OFF -DTEVARRO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_archivo -j"$(nproc)"

mkdir -p build-fuzz/corpus build-fuzz/hallazgos
build-fuzz/fuzz/fuzz_archivo build-fuzz/corpus fuzz/semillas fuzz/regresion \
  -dict=fuzz/archivo.dict -max_len=16384 -timeout=1 -rss_limit_mb=2048 \
  -max_total_time="$segundos" -print_final_stats=1 \
  -artifact_prefix=build-fuzz/hallazgos/
