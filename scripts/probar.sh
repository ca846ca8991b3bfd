#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in the release
# build, once more with AddressSanitizer and UBSan (any report fails the test),
# the fuzzing regression corpus included in both. First the format of the
# code, and after the release build clang-tidy over src/. The release build also
# checks the manual pages, the AppStream metadata, the desktop entry and, with
# lintian, the Debian package built from it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependencias.sh --pruebas

# The code as the committed .clang-format writes it.
mapfile -t fuentes < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${fuentes[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"

# clang-tidy with the committed .clang-tidy over src/: any warning fails.
run-clang-tidy -p build -quiet -j "$(nproc)" "$PWD/src/"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVARRO_SANITIZE=ON \
  -DTEVARRO_BENCH=OFF
cmake --build build-asan -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan_supresiones.txt" \
  QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
