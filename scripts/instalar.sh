#!/usr/bin/env bash
# Installs what is missing, builds TEVARRO and runs the batch tool on the
# example column.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
build/tevarro-batch examples/neuquen.tev
