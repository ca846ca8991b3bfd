#!/usr/bin/env bash
# Installs the Debian 12 packages that TEVARRO needs and that are missing.
# With --pruebas, also the tools the test command checks the documentation
# and the package with.
set -euo pipefail

# Build and tests; Xvfb, xwininfo and xdotool run the real program in a test.
paquetes=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils xdotool
          qt6-translations-l10n)
# The manual pages (man, lexgrog, groff), the AppStream metadata, the desktop
# entry, the package that cpack builds (dpkg-shlibdeps, file) and lintian
# checks, and the format and static checks of the code.
if [ "${1:-}" = "--pruebas" ]; then
  paquetes+=(man-db groff-base appstream desktop-file-utils dpkg-dev file lintian
             clang-format clang-tidy)
fi

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Instalando: ${faltan[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${faltan[@]}"
