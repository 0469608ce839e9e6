#!/usr/bin/env bash
# Builds the project and runs the whole test suite.
#   scripts/testes.sh                  normal build (build/)
#   scripts/testes.sh --sanitizadores  AddressSanitizer + UBSan build (build-asan/)
#   scripts/testes.sh --tsan           ThreadSanitizer build (build-tsan/): only the
#                                      tests of the C interface, the one that calls
#                                      it from several threads among them
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"

bash scripts/install-deps.sh --testes

pasta=build
opcoes=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_TESTS=ON -DTARVO_BENCH=ON)
alvos=()
testes=()
if [ "${1:-}" = "--sanitizadores" ]; then
  pasta=build-asan
  opcoes=(-DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_TESTS=ON -DTARVO_BENCH=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
elif [ "${1:-}" = "--tsan" ]; then
  # The rest of the suite calls the library from one thread (one preview
  # test only sees another thread refused): under TSan it would take long to
  # build and find nothing.
  pasta=build-tsan
  opcoes=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_TSAN=ON -DTARVO_TESTS=ON -DTARVO_BENCH=OFF)
  alvos=(--target teste_interface_c teste_interface_c_concorrente)
  testes=(-R '^InterfaceC')
  export TSAN_OPTIONS="suppressions=$raiz/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
fi

cmake -S . -B "$pasta" -G Ninja "${opcoes[@]}" >/dev/null
cmake --build "$pasta" "${alvos[@]}"
ctest --test-dir "$pasta" --output-on-failure -j2 "${testes[@]}"
