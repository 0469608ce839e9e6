#!/usr/bin/env bash
# Runs two builds side by side on generated DIPAM code-1 declarations and
# prints, for each, the minimum and median of:
#   - the command-line program's whole run (--pdf of report 6) on 10,000 and
#     100,000 rows: CPU seconds (user + system), wall seconds, peak memory
#     and the PDF's size;
#   - the preview scrolled from the first page to the last of a 726-page
#     report, a screenful at a time (bench_previa at 100%, 200% and 400%):
#     milliseconds a page.
# The two builds take turns, starting with each in turn, so that a change in
# the machine's load falls on both. The ReportLab peer of the same report
# (bench/reportlab_dipam.py, Debian's python3-reportlab) runs in the same
# rounds on the same declarations, and each build's whole run is given as a
# share of the peer's: the ratio of the medians, and the median of each
# round's ratio. Also prints how far the words of the two 10,000-row
# PDFs are apart (pdftotext -bbox; the time of day excluded).
#
#   bench/comparar.sh BASE NOVO [RODADAS]
#
# BASE and NOVO are build folders (Release) with app/relatorios-tarvo,
# bench/bench_dipam and bench/bench_previa built. RODADAS defaults to 5.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "uso: $0 BASE NOVO [RODADAS]" >&2
  exit 2
fi
base=$(cd "$1" && pwd)
novo=$(cd "$2" && pwd)
rodadas=${3:-5}
for pasta in "$base" "$novo"; do
  for programa in app/relatorios-tarvo bench/bench_dipam bench/bench_previa; do
    if [ ! -x "$pasta/$programa" ]; then
      echo "falta $pasta/$programa" >&2
      exit 2
    fi
  done
done

trabalho=$(mktemp -d /tmp/comparar-XXXXXX)
trap 'rm -rf "$trabalho"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$trabalho
# The date and time in the page footers are the only words that differ.
export LC_ALL=C.UTF-8

linhasPrevia=20000 # 726 pages
for linhas in 10000 100000 $linhasPrevia; do
  "$novo/bench/bench_dipam" --gerar "$linhas" "$trabalho/dipam-$linhas.db"
done
resultados=$trabalho/resultados.txt
: >"$resultados"

# One whole run of the program: appends "nome linhas cpu parede picoMB pdfMB".
exportar() {
  local nome=$1 pasta=$2 linhas=$3
  local saida=$trabalho/pdf-$nome-$linhas
  rm -rf "$saida"
  /usr/bin/time -f "%U %S %e %M" -o "$trabalho/tempo" "$pasta/app/relatorios-tarvo" \
    --banco "$trabalho/dipam-$linhas.db" --declaracao 1 --selecao 32 --pdf "$saida"
  local bytes
  bytes=$(stat -c %s "$saida/06-RelatorioDIPAMCodigo1.pdf")
  awk -v n="$nome" -v l="$linhas" -v b="$bytes" \
    '{printf "%s pdf%s %.3f %.3f %.1f %.2f\n", n, l, $1 + $2, $3, $4 / 1024, b / 1048576}' \
    "$trabalho/tempo" >>"$resultados"
}

# The peer's run: appends "par linhas cpu parede picoMB pdfMB".
par() {
  local linhas=$1
  local saida=$trabalho/par-$linhas.pdf
  /usr/bin/time -f "%U %S %e %M" -o "$trabalho/tempo" /usr/bin/python3 \
    "$(dirname "$0")/reportlab_dipam.py" "$trabalho/dipam-$linhas.db" "$saida"
  local bytes
  bytes=$(stat -c %s "$saida")
  awk -v l="$linhas" -v b="$bytes" \
    '{printf "par pdf%s %.3f %.3f %.1f %.2f\n", l, $1 + $2, $3, $4 / 1024, b / 1048576}' \
    "$trabalho/tempo" >>"$resultados"
}

# One scroll through the preview: appends "nome previaZOOM msPorPagina".
previa() {
  local nome=$1 pasta=$2 zoom=$3
  "$pasta/bench/bench_previa" "$trabalho/dipam-$linhasPrevia.db" --zoom "$zoom" --escala 1 \
    2>/dev/null |
    sed -n 's/.*ms por tela, \([0-9.]*\) ms por página.*/\1/p' |
    awk -v n="$nome" -v z="$zoom" '{print n, "previa" z, $1}' >>"$resultados"
}

for ((rodada = 1; rodada <= rodadas; rodada++)); do
  if ((rodada % 2)); then ordem="base novo"; else ordem="novo base"; fi
  for nome in $ordem; do
    if [ "$nome" = base ]; then pasta=$base; else pasta=$novo; fi
    exportar "$nome" "$pasta" 10000
    exportar "$nome" "$pasta" 100000
    previa "$nome" "$pasta" 100
    previa "$nome" "$pasta" 200
    previa "$nome" "$pasta" 400
  done
  par 10000
  par 100000
  echo "rodada $rodada de $rodadas" >&2
done

# Minimum and median of column $3 (and the others' medians) per build and measure.
resumo() {
  local medida=$1 coluna=$2
  for nome in base novo; do
    awk -v n="$nome" -v m="$medida" '$1 == n && $2 == m' "$resultados" |
      sort -g -k"$coluna","$coluna" |
      awk -v c="$coluna" '{v[NR] = $c} END {
        mediana = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%s %s ", v[1], mediana }'
  done
  echo
}

# One line of the table: the four figures, the ratio of the medians, the name.
linha() {
  local rotulo=$1
  awk -v r="$rotulo" '{printf "%9.3f %9.3f %9.3f %9.3f %7.2fx  %s\n", $1, $2, $3, $4, $4 / $2, r}'
}

echo
echo "Rodadas: $rodadas, alternadas. Mínimo e mediana de cada versão; razão das medianas."
printf "%9s %9s %9s %9s %8s\n" "base min" "base med" "novo min" "novo med" "novo/base"
for linhas in 10000 100000; do
  resumo pdf$linhas 3 | linha "$linhas linhas: CPU da execução inteira (s)"
  resumo pdf$linhas 4 | linha "$linhas linhas: relógio da execução inteira (s)"
  resumo pdf$linhas 5 | linha "$linhas linhas: pico de memória (MB)"
  resumo pdf$linhas 6 | linha "$linhas linhas: tamanho do PDF (MB)"
done
# The median over the rounds of each round's ratio of a build's figure to
# the peer's: steadier than the ratio of the medians when the machine's load
# drifts from round to round.
porRodada() {
  local nome=$1 medida=$2 coluna=$3
  paste <(awk -v n="$nome" -v m="$medida" -v c="$coluna" '$1 == n && $2 == m {print $c}' \
    "$resultados") \
    <(awk -v m="$medida" -v c="$coluna" '$1 == "par" && $2 == m {print $c}' "$resultados") |
    awk '{print $1 / $2}' | sort -g |
    awk '{v[NR] = $1} END { printf "%s", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The peer: its minimum and median, each build's median as a share of it,
# and the median of each build's share round by round.
echo
printf "%9s %9s %9s %9s %9s %9s\n" "par min" "par med" "base/par" "novo/par" "b/p rod." "n/p rod."
for linhas in 10000 100000; do
  for coluna in 3 4 5 6; do
    rotulos=("" "" "" "CPU da execução inteira (s)" "relógio da execução inteira (s)"
      "pico de memória (MB)" "tamanho do PDF (MB)")
    for nome in par base novo; do
      awk -v n="$nome" -v m="pdf$linhas" '$1 == n && $2 == m' "$resultados" |
        sort -g -k"$coluna","$coluna" |
        awk -v c="$coluna" '{v[NR] = $c} END {
          printf "%s %s ", v[1], NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
    done | awk -v r="$linhas linhas: ${rotulos[$coluna]}" \
      -v b="$(porRodada base "pdf$linhas" "$coluna")" -v n="$(porRodada novo "pdf$linhas" "$coluna")" \
      '{printf "%9.3f %9.3f %8.2fx %8.2fx %8.2fx %8.2fx  %s\n", $1, $2, $4 / $2, $6 / $2, b, n, r}'
  done
done
echo
resumo previa100 3 | linha "prévia de 726 páginas a 100%: rolagem, relógio por página (ms)"
resumo previa200 3 | linha "prévia de 726 páginas a 200%: rolagem, relógio por página (ms)"
resumo previa400 3 | linha "prévia de 726 páginas a 400%: rolagem, relógio por página (ms)"

# Words of the two 10,000-row PDFs, matched in order; the footers' time of
# day changes between runs and is left out.
palavras() {
  pdftotext -bbox -enc UTF-8 "$1" - |
    sed -n 's/.*xMin="\([0-9.]*\)" yMin="\([0-9.]*\)" xMax="\([0-9.]*\)" yMax="\([0-9.]*\)">\([^<]*\)<.*/\1 \2 \3 \4 \5/p'
}
palavras "$trabalho/pdf-base-10000/06-RelatorioDIPAMCodigo1.pdf" >"$trabalho/palavras-base"
palavras "$trabalho/pdf-novo-10000/06-RelatorioDIPAMCodigo1.pdf" >"$trabalho/palavras-novo"
paste -d' ' "$trabalho/palavras-base" "$trabalho/palavras-novo" | awk '
  function abs(x) { return x < 0 ? -x : x }
  $5 ~ /^[0-9][0-9]:[0-9][0-9]:[0-9][0-9]$/ { next }
  {
    if ($5 != $10) diferentes++
    for (i = 1; i <= 4; i++) if (abs($i - $(i + 5)) > maior) maior = abs($i - $(i + 5))
  }
  END { printf "\nPalavras do PDF de 10.000 linhas: %d, %d diferentes, maior desvio %.4f pt\n",
        NR, diferentes, maior }'
