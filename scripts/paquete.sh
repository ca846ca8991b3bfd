#!/usr/bin/env bash
# Builds the Debian package of TEVARRO: a Release build in build-pkg without
# tests or benchmarks, then cpack. Prints the path of the .deb on stdout (the
# build's own output goes to stderr), so that  deb=$(scripts/paquete.sh)  works.
# TEVARRO_JOBS sets the number of compile jobs (all the processors by default).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependencias.sh >&2

# cpack's DEB generator needs dpkg-shlibdeps (dpkg-dev), which turns the Qt
# libraries the programs link into the package's dependencies, and file, which
# picks out the programs among the installed files.
paquetes=(dpkg-dev file)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Instalando: ${faltan[*]}" >&2
  "${sudo_cmd[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${faltan[@]}" >&2
fi

dir=build-pkg
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTEVARRO_TESTS=OFF -DTEVARRO_BENCH=OFF >&2
cmake --build "$dir" -j"${TEVARRO_JOBS:-$(nproc)}" >&2
rm -f "$dir"/tevarro_*.deb
(cd "$dir" && cpack -G DEB >&2)

debs=("$dir"/tevarro_*.deb)
if [ ! -f "${debs[0]}" ]; then
  echo "paquete.sh: cpack no dejó ningún tevarro_*.deb en $dir" >&2
  exit 1
fi
realpath "${debs[0]}"
