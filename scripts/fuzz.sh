#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one for
# SEGUNDOS seconds (default 60) on a scratch corpus under build-fuzz/fuzz/,
# seeded from tests/fuzz/corpus/ (the repository's corpus never grows).
#   scripts/fuzz.sh [SEGUNDOS]
# Exits non-zero on any finding (crash, hang, sanitizer report, broken
# invariant) and names the file that holds the input.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
segundos=${1:-60}

bash scripts/install-deps.sh --testes

pasta=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVO_FUZZ=ON -DTARVO_TESTS=OFF -DTARVO_BENCH=OFF >/dev/null
cmake --build "$pasta" -j2

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
# Leaks inside Qt's plugins, fontconfig and CUPS only; never the project's.
export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8

falhou=0
for alvo in fuzz_tradutor fuzz_valores fuzz_banco; do
  corpus="$pasta/fuzz/corpus/$alvo"
  achados="$pasta/fuzz/achados/$alvo"
  registro="$pasta/fuzz/$alvo.log"
  rm -rf "$achados"
  mkdir -p "$corpus" "$achados"
  cp tests/fuzz/corpus/"$alvo"/* "$corpus"/
  opcoes=(-max_total_time="$segundos" -timeout=30 -artifact_prefix="$achados/"
          -print_final_stats=1)
  if [ -f "tests/fuzz/$alvo.dict" ]; then
    opcoes+=(-dict="tests/fuzz/$alvo.dict")
  fi
  echo "== $alvo: $segundos s"
  if "$pasta/tests/fuzz/$alvo" "${opcoes[@]}" "$corpus" >"$registro" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$registro" || true
  else
    falhou=1
    tail -n 60 "$registro"
    echo "$alvo: ACHADO; registro completo em $registro"
    for entrada in "$achados"/*; do
      [ -e "$entrada" ] && echo "entrada que falhou: $raiz/$entrada"
    done
  fi
done
exit $falhou
