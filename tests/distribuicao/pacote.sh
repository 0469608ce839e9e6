#!/usr/bin/env bash
# The Debian packages scripts/pacote.sh built, unpacked as they would be
# installed (dpkg-deb -x into a scratch folder, nothing installed): each holds
# its files, the program runs on the demo declaration against the unpacked
# library, and the -dev package's schema takes the records it writes.
#   pacote.sh FONTE PASTA_PACOTES   (exit 77 when no package was built)
set -uo pipefail
# No grep -q after a pipe: with pipefail, the writer it stops reading from
# early would make the match count as a failure.
fonte=$1
pacotes=$2

versao=$(dpkg-parsechangelog -l "$fonte/debian/changelog" -S Version)
arquitetura=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
debs=()
for pacote in relatorios-tarvo librelatorios-tarvo1 librelatorios-tarvo-dev; do
  deb="$pacotes/${pacote}_${versao}_${arquitetura}.deb"
  if [ ! -f "$deb" ]; then
    echo "$deb não existe: rode scripts/pacote.sh para construir os pacotes"
    exit 77
  fi
  debs+=("$deb")
done

raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
falhas=0
falhar() {
  echo "FALHOU: $*"
  falhas=$((falhas + 1))
}

# Each package holds what it should: the program's with what a desktop and a
# shell need, the library alone, the -dev package's files for hosts.
conteudo() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
esperar() {
  local deb=$1
  shift
  for arquivo in "$@"; do
    conteudo "$deb" | grep -x -- "$arquivo" >/dev/null || falhar "$(basename "$deb") não tem $arquivo"
  done
}
esperar "${debs[0]}" /usr/bin/relatorios-tarvo /usr/share/man/man1/relatorios-tarvo.1.gz \
  /usr/share/bash-completion/completions/relatorios-tarvo \
  /usr/share/applications/relatorios-tarvo.desktop \
  /usr/share/icons/hicolor/32x32/apps/relatorios-tarvo.png \
  /usr/share/icons/hicolor/64x64/apps/relatorios-tarvo.png
esperar "${debs[1]}" "/usr/lib/$multiarch/librelatorios_tarvo.so.1" \
  "/usr/lib/$multiarch/librelatorios_tarvo.so.1.0.0"
conteudo "${debs[1]}" | grep -E '\.(h|pc|cmake)$|^/usr/bin/' && falhar "a biblioteca leva arquivos de outro pacote"
esperar "${debs[2]}" /usr/include/RelatoriosTarvo/Relatorios.h \
  /usr/include/RelatoriosTarvo/relatorios_tarvo.h "/usr/lib/$multiarch/librelatorios_tarvo.so" \
  "/usr/lib/$multiarch/pkgconfig/relatorios_tarvo.pc" \
  "/usr/lib/$multiarch/cmake/RelatoriosTarvo/RelatoriosTarvoConfig.cmake" \
  /usr/share/relatorios-tarvo/registro.schema.json
dpkg-deb -f "${debs[0]}" Depends | grep "librelatorios-tarvo1 (>= " >/dev/null ||
  falhar "relatorios-tarvo não depende de librelatorios-tarvo1: $(dpkg-deb -f "${debs[0]}" Depends)"

for deb in "${debs[@]}"; do
  dpkg-deb -x "$deb" "$raiz/instalado" || falhar "dpkg-deb -x $deb"
done
programa="$raiz/instalado/usr/bin/relatorios-tarvo"
biblioteca="$raiz/instalado/usr/lib/$multiarch/librelatorios_tarvo.so.1"

# A program of the system's folders: no RPATH; the library stripped, with its
# SONAME.
readelf -d "$programa" | grep -E 'RPATH|RUNPATH' >/dev/null && falhar "o programa tem RPATH"
readelf -d "$biblioteca" | grep 'SONAME.*\[librelatorios_tarvo\.so\.1\]' >/dev/null ||
  falhar "a biblioteca não tem o SONAME librelatorios_tarvo.so.1"
readelf -S "$biblioteca" | grep '\.debug_info' >/dev/null && falhar "a biblioteca tem informação de depuração"

export LD_LIBRARY_PATH="$raiz/instalado/usr/lib/$multiarch"
export QT_QPA_PLATFORM=offscreen
ldd "$programa" | grep "librelatorios_tarvo.so.1 => $raiz/" >/dev/null ||
  falhar "o programa não usa a biblioteca desempacotada: $(ldd "$programa" | grep tarvo)"
[ "$("$programa" --version)" = "relatorios-tarvo $versao" ] || falhar "--version: $("$programa" --version)"

banco="$raiz/demo.db"
sqlite3 "$banco" <"$fonte/demo/esquema.sql" && sqlite3 "$banco" <"$fonte/demo/demo.sql" ||
  falhar "o banco de demonstração não foi criado"
if ! "$programa" --banco "$banco" --declaracao 1 --silencioso --json "$raiz/saida" \
  --pdf-unico "$raiz/saida/declaracao-1.pdf"; then
  falhar "o programa desempacotado não exportou a declaração de demonstração"
fi
[ "$(find "$raiz/saida" -name '*.json' | wc -l)" = 10 ] || falhar "não são 10 registros JSON"
head -c 5 "$raiz/saida/declaracao-1.pdf" | grep '%PDF-' >/dev/null || falhar "declaracao-1.pdf não é um PDF"

if /usr/bin/python3 -c 'import jsonschema' 2>/dev/null; then
  /usr/bin/python3 - "$raiz/instalado/usr/share/relatorios-tarvo/registro.schema.json" \
    "$raiz"/saida/*.json <<'EOF' || falhar "os registros não seguem o esquema instalado"
import json, sys, jsonschema
esquema = json.load(open(sys.argv[1], encoding="utf-8"))
for caminho in sys.argv[2:]:
    jsonschema.validate(json.load(open(caminho, encoding="utf-8")), esquema,
                        cls=jsonschema.Draft202012Validator)
EOF
fi

[ "$falhas" -eq 0 ] || exit 1
echo "pacotes $versao: ok"
