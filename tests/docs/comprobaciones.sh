#!/usr/bin/env bash
# The checks of the documentation and of the package, one per CTest test:
#   comprobaciones.sh manual      FUENTES CONSTRUCCION
#   comprobaciones.sh metainfo    FUENTES
#   comprobaciones.sh escritorio  FUENTES
#   comprobaciones.sh instalacion FUENTES CONSTRUCCION
#   comprobaciones.sh paquete     FUENTES CONSTRUCCION
# A check whose tool is missing says so and exits with 77 (skipped);
# scripts/dependencias.sh --pruebas installs them all.
set -euo pipefail
modo=$1
fuentes=$2
construccion=${3:-}
export LC_ALL=C.UTF-8

fallos=0
falla() {
  echo "FALLA: $*" >&2
  fallos=$((fallos + 1))
}
salta() {
  echo "Se salta: falta $1 (paquete de Debian $2)." >&2
  exit 77
}
necesita() {
  command -v "$1" >/dev/null || salta "$1" "$2"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"

# A gzip file as Debian wants it: best compression (XFL 2), no name inside
# (FLG 0) and no time (MTIME 0).
comprimido_para_debian() {
  local cabecera
  cabecera=$(od -A n -t x1 -N 9 "$1" | tr -d ' \n')
  [ "$cabecera" = "1f8b08000000000002" ]
}

case $modo in
manual)
  necesita groff groff-base
  necesita man man-db
  necesita lexgrog man-db
  for nombre in tevarro tevarro-batch; do
    pagina=$fuentes/docs/man/$nombre.1
    # groff's warnings, and those of man as lintian runs it.
    avisos=$(groff -k -man -Tutf8 -ww -z "$pagina" 2>&1) || falla "groff no pudo formar $pagina"
    [ -z "$avisos" ] || falla "groff sobre $pagina: $avisos"
    avisos=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$pagina" 2>&1 >/dev/null) ||
      falla "man no pudo formar $pagina"
    [ -z "$avisos" ] || falla "man sobre $pagina: $avisos"
    # The name line, as whatis and apropos read it.
    quien=$(lexgrog "$pagina" 2>&1) || falla "lexgrog no encuentra la sección NOMBRE de $pagina"
    [[ $quien == *": \"$nombre - "* ]] || falla "lexgrog sobre $pagina: $quien"
    # What a page must tell.
    for seccion in NOMBRE SINOPSIS DESCRIPCIÓN OPCIONES '"ESTADO DE SALIDA"' ARCHIVOS EJEMPLOS; do
      grep -qx "\.SH $seccion" "$pagina" || falla "$pagina no tiene la sección $seccion"
    done
    # The compressed page that is installed is this one.
    gz=$construccion/doc/$nombre.1.gz
    if [ ! -f "$gz" ]; then
      falla "no está $gz"
    else
      comprimido_para_debian "$gz" || falla "$gz no está comprimido con gzip -9n"
      gzip -dc "$gz" | cmp -s - "$pagina" || falla "$gz no es $pagina"
      man -l "$gz" >/dev/null 2>&1 || falla "man no lee $gz"
    fi
  done
  ;;
metainfo)
  necesita appstreamcli appstream
  for m in "$fuentes"/data/*.metainfo.xml; do
    if ! informe=$(appstreamcli validate --no-net --no-color "$m" 2>&1); then
      falla "appstreamcli validate sobre $m: $informe"
    elif grep -q '^[EW]:' <<<"$informe"; then
      falla "appstreamcli validate sobre $m: $informe"
    fi
    echo "$informe"
  done
  ;;
escritorio)
  necesita desktop-file-validate desktop-file-utils
  informe=$(desktop-file-validate "$fuentes/data/tevarro.desktop" 2>&1) ||
    falla "desktop-file-validate: $informe"
  [ -z "$informe" ] || falla "desktop-file-validate: $informe"
  ;;
instalacion)
  DESTDIR=$tmp/raiz cmake --install "$construccion" --prefix /usr >/dev/null
  raiz=$tmp/raiz/usr
  for f in bin/tevarro bin/tevarro-batch share/man/man1/tevarro.1.gz \
    share/man/man1/tevarro-batch.1.gz share/doc/tevarro/copyright \
    share/doc/tevarro/changelog.gz share/doc/tevarro/manual/index.html \
    share/applications/tevarro.desktop \
    share/metainfo/example.c_seed_7debcb72.tevarro.metainfo.xml; do
    [ -f "$raiz/$f" ] || falla "no se instala $f"
  done
  for f in share/man/man1/tevarro.1.gz share/man/man1/tevarro-batch.1.gz \
    share/doc/tevarro/changelog.gz; do
    [ ! -f "$raiz/$f" ] || comprimido_para_debian "$raiz/$f" || falla "$f no está comprimido con gzip -9n"
  done
  copyright=$raiz/share/doc/tevarro/copyright
  if [ -f "$copyright" ]; then
    [ "$(head -n 1 "$copyright")" = \
      "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
      falla "copyright no empieza con el campo Format del formato 1.0"
    grep -qx 'License: GPL-3+' "$copyright" || falla "copyright no da la licencia GPL-3+"
    grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
      falla "copyright no remite a /usr/share/common-licenses/GPL-3"
    ! grep -q '@' <<<"$(grep -v '^Upstream-Contact:' "$copyright")" ||
      falla "copyright tiene una variable sin reemplazar"
  fi
  if command -v dpkg-parsechangelog >/dev/null; then
    gzip -dc "$raiz/share/doc/tevarro/changelog.gz" >"$tmp/changelog"
    dpkg-parsechangelog -l "$tmp/changelog" -S Version >/dev/null ||
      falla "dpkg-parsechangelog no lee el changelog"
  else
    echo "Se salta la lectura del changelog: falta dpkg-parsechangelog (paquete dpkg-dev)."
  fi
  # The metadata and the desktop entry it names, as installed.
  if command -v appstreamcli >/dev/null; then
    informe=$(appstreamcli validate-tree --no-net --no-color "$tmp/raiz" 2>&1) ||
      falla "appstreamcli validate-tree: $informe"
    ! grep -q '^ *[EW]:' <<<"$informe" || falla "appstreamcli validate-tree: $informe"
    echo "$informe"
  else
    echo "Se salta appstreamcli validate-tree: falta appstreamcli (paquete appstream)."
  fi
  ;;
paquete)
  necesita lintian lintian
  necesita dpkg-shlibdeps dpkg-dev
  necesita cpack cmake
  cpack --config "$construccion/CPackConfig.cmake" -G DEB -B "$tmp/paquete" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; falla "cpack no armó el paquete"; exit 1; }
  debs=("$tmp"/paquete/tevarro_*.deb)
  [ -f "${debs[0]}" ] || { falla "cpack no dejó ningún tevarro_*.deb"; exit 1; }
  chmod -R a+rX "$tmp/paquete"
  lintian_cmd=(lintian --fail-on error,warning)
  # lintian warns when it runs as root.
  if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null && id nobody >/dev/null 2>&1; then
    lintian_cmd=(runuser -u nobody -- "${lintian_cmd[@]}")
  fi
  informe=$(cd "$tmp" && "${lintian_cmd[@]}" "${debs[0]}" 2>&1) || falla "lintian: $informe"
  [ -z "$informe" ] || falla "lintian: $informe"
  echo "lintian sobre $(basename "${debs[0]}"): ${informe:-nada que decir}"
  ;;
*)
  echo "comprobaciones.sh: modo desconocido «$modo»" >&2
  exit 2
  ;;
esac

[ "$fallos" -eq 0 ]
