#!/usr/bin/env bash
# The manual page and the bash completion know every option the program's
# --help lists; the manual page passes mandoc's lint and the desktop entry
# desktop-file-validate (each where the tool is installed).
#   documentacao.sh PROGRAMA PASTA_DATA
set -uo pipefail
programa=$1
data=$2
falhas=0
falhar() {
  echo "FALHOU: $*"
  falhas=$((falhas + 1))
}

opcoes=$("$programa" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$opcoes" ] || falhar "--help não lista opções"
for opcao in $opcoes; do
  grep -qF -- "${opcao//-/\\-}" "$data/relatorios-tarvo.1" || falhar "a página de manual não fala de $opcao"
  grep -qE -- "(^|[ (])$opcao( |$|\))" "$data/relatorios-tarvo.bash-completion" ||
    falhar "a completação não conhece $opcao"
done

if command -v mandoc >/dev/null; then
  saida=$(mandoc -T lint "$data/relatorios-tarvo.1" 2>&1) || falhar "mandoc -T lint: $saida"
else
  echo "mandoc não está instalado: a página de manual não foi verificada"
fi
if command -v desktop-file-validate >/dev/null; then
  saida=$(desktop-file-validate "$data/relatorios-tarvo.desktop" 2>&1) ||
    falhar "desktop-file-validate: $saida"
else
  echo "desktop-file-validate não está instalado: o atalho não foi verificado"
fi

[ "$falhas" -eq 0 ] || exit 1
echo "documentacao: $(echo "$opcoes" | wc -l) opções documentadas e completadas"
