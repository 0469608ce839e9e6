#!/usr/bin/env bash
# Sets up the machine, builds the project, creates the demo declaration and
# writes its ten reports as PDF (and the engine's JSON record) to saida/.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The library and the program only: the tests and benchmarks are
# scripts/testes.sh's.
cmake --build build --target relatorios-tarvo

banco=build/demo.db
rm -f "$banco"
sqlite3 "$banco" < demo/esquema.sql
sqlite3 "$banco" < demo/demo.sql

rm -rf saida && mkdir -p saida
build/app/relatorios-tarvo --banco "$banco" --ie 110.042.490.114 --declaracao 1 \
  --pdf saida --json saida --pdf-unico saida/declaracao-1.pdf
echo
echo "Banco de demonstração: $raiz/$banco"
echo "Relatórios gravados em: $raiz/saida"
ls saida
