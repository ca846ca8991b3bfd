#!/usr/bin/env bash
# Builds the Debian package of TEVARRO: a Release build in build-pkg without
# tests or benchmarks, then cpack, then lintian, which must have nothing to say
# (no error, no warning). Prints the path of the .deb on stdout (the build's
# own output goes to stderr), so that  deb=$(scripts/paquete.sh)  works.
# TEVARRO_JOBS sets the number of compile jobs (all the processors by default).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependencias.sh >&2

# cpack's DEB generator needs dpkg-shlibdeps (dpkg-dev), which turns the Qt
# libraries the programs link into the package's dependencies, and file, which
# picks out the programs among the installed files; lintian checks the package.
paquetes=(dpkg-dev file lintian)
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
deb=$(realpath "${debs[0]}")

# lintian warns when it runs as root: then it runs as nobody, on a copy of the
# package that nobody can read.
lintian_cmd=(lintian --fail-on error,warning)
revisado=$deb
if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null && id nobody >/dev/null 2>&1; then
  copia=$(mktemp -d)
  trap 'rm -rf "$copia"' EXIT
  chmod 755 "$copia"
  cp "$deb" "$copia/"
  revisado=$copia/$(basename "$deb")
  chmod 644 "$revisado"
  lintian_cmd=(runuser -u nobody -- "${lintian_cmd[@]}")
fi
if ! informe=$(cd /tmp && "${lintian_cmd[@]}" "$revisado" 2>&1) || [ -n "$informe" ]; then
  echo "$informe" >&2
  echo "paquete.sh: lintian encontró problemas en $deb" >&2
  exit 1
fi
echo "lintian: sin errores ni avisos en $deb" >&2
echo "$deb"
