#!/usr/bin/env bash
# Fuzzes a column reader for the given number of seconds (default 60) with
# libFuzzer, under AddressSanitizer and UBSan. Needs clang. The reader is the
# project file's (archivo, the default) or the CSV one's (csv):
#   scripts/fuzz.sh 1800
#   scripts/fuzz.sh 600 csv
# New inputs land in build-fuzz/corpus (corpus_csv); crashes, hangs and leaks
# in build-fuzz/hallazgos (hallazgos_csv). Keep each, once fixed, in
# fuzz/regresion (for CSV in fuzz/semillas_csv).
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
objetivo=${2:-archivo}
case "$objetivo" in
  archivo) semillas="fuzz/semillas fuzz/regresion" dic=fuzz/archivo.dict sufijo="" ;;
  csv) semillas="fuzz/semillas_csv" dic=fuzz/csv.dict sufijo=_csv ;;
  *) echo "Objetivo desconocido «$objetivo»: archivo o csv" >&2; exit 2 ;;
esac

command -v clang++ >/dev/null || {
  echo "Falta clang: sudo apt-get install clang libclang-rt-14-dev" >&2
  exit 2
}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVARRO_FUZZ=ON \
  -DTEVARRO_TESTS=OFF -DTEVARRO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "fuzz_$objetivo" -j"$(nproc)"

mkdir -p "build-fuzz/corpus$sufijo" "build-fuzz/hallazgos$sufijo"
# shellcheck disable=SC2086 # the seed folders are several words
build-fuzz/fuzz/"fuzz_$objetivo" "build-fuzz/corpus$sufijo" $semillas \
  -dict="$dic" -max_len=16384 -timeout=1 -rss_limit_mb=2048 \
  -max_total_time="$segundos" -print_final_stats=1 \
  -artifact_prefix="build-fuzz/hallazgos$sufijo/"
