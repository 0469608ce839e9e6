#!/usr/bin/env bash
# The bash completion of relatorios-tarvo, as bash-completion loads it: the
# words of a command line in COMP_WORDS, the candidates read from COMPREPLY.
#   completar.sh COMPLETAR   (exit 77 when bash-completion is not installed)
set -uo pipefail
# No grep -q after a pipe: with pipefail, the writer it stops reading from
# early would make the match count as a failure.
completar=$1
biblioteca=/usr/share/bash-completion/bash_completion
if [ ! -r "$biblioteca" ]; then
  echo "bash-completion não está instalado ($biblioteca)"
  exit 77
fi
source "$biblioteca"
source "$completar"

pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
cd "$pasta" || exit 1
touch a.db b.sqlite c.sqlite3 nota.txt saida.pdf
mkdir pasta

falhas=0
# candidatos PALAVRA... : the candidates for the last word, one a line, sorted.
candidatos() {
  COMP_WORDS=(relatorios-tarvo "$@")
  COMP_CWORD=$#
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _relatorios_tarvo relatorios-tarvo "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}
esperar() {
  local descricao=$1 esperado=$2 obtido
  shift 2
  obtido=$(candidatos "$@")
  if [ "$obtido" != "$esperado" ]; then
    printf 'FALHOU: %s (%s)\nesperado:\n%s\nobtido:\n%s\n' "$descricao" "$*" "$esperado" "$obtido"
    falhas=$((falhas + 1))
  fi
}

esperar "bancos de dados e pastas após --banco" $'a.db\nb.sqlite\nc.sqlite3\npasta' --banco ''
esperar "o banco também sem --banco" $'a.db\nb.sqlite\nc.sqlite3\npasta' ''
esperar "só pastas após --pdf" pasta --pdf ''
esperar "só pastas após --json=" pasta --json=''
esperar "PDFs, pastas e - após --pdf-unico" $'-\npasta\nsaida.pdf' --pdf-unico ''
esperar "um valor de --selecao completado sem descrição" 128 --selecao 12
esperar "--selecao= também" 512 --selecao=5
[ "$(candidatos --selecao '' | wc -l)" = 11 ] || {
  echo "FALHOU: --selecao oferece os dez relatórios e todos"
  falhas=$((falhas + 1))
}
candidatos --selecao 1 | grep -x '128 *relatório 8 - DIPAM - Código 3' >/dev/null || {
  echo "FALHOU: os valores de --selecao dizem o relatório quando há mais de um"
  falhas=$((falhas + 1))
}
esperar "as opções ainda não dadas" $'--selecao\n--silencioso' --banco a.db --s
esperar "uma opção dada não volta" '' --banco a.db --ban
esperar "nada após --declaracao" '' --declaracao ''
# The printers of the tests' own CUPS scheduler, where it runs.
if [ -S "${CUPS_SERVER:-}" ]; then
  esperar "as impressoras do CUPS após --impressora" $'TarvoOpcoes\nTarvoPDF\nTarvoRecusa' \
    --impressora Tarvo
fi

if [ "$falhas" -ne 0 ]; then
  exit 1
fi
echo "completar: ok"
