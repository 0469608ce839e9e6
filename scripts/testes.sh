#!/usr/bin/env bash
# Builds the project and runs the whole test suite.
#   scripts/testes.sh                  normal build (build/)
#   scripts/testes.sh --sanitizadores  AddressSanitizer + UBSan build (build-asan/)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"

bash scripts/install-deps.sh --testes

pasta=build
opcoes=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_TESTS=ON -DTARVO_BENCH=ON)
if [ "${1:-}" = "--sanitizadores" ]; then
  pasta=build-asan
  opcoes=(-DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_TESTS=ON -DTARVO_BENCH=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S . -B "$pasta" -G Ninja "${opcoes[@]}" >/dev/null
cmake --build "$pasta"
ctest --test-dir "$pasta" --output-on-failure -j2
