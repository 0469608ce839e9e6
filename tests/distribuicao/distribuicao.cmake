# What is installed beside the library and the program: the bash completion,
# the JSON record's schema, the manual page and desktop entry against the
# program's options, and the Debian packages of scripts/pacote.sh. Exit
# status 77 skips a test, saying why (a tool or the packages missing).
set(tarvo_distribuicao ${CMAKE_CURRENT_LIST_DIR})

add_test(NAME Completar
  COMMAND bash ${tarvo_distribuicao}/completar.sh
          ${PROJECT_SOURCE_DIR}/data/relatorios-tarvo.bash-completion)
add_test(NAME Documentacao
  COMMAND bash ${tarvo_distribuicao}/documentacao.sh $<TARGET_FILE:relatorios-tarvo>
          ${PROJECT_SOURCE_DIR}/data)
# Debian's python3 and python3-jsonschema, whatever python3 comes first in PATH.
add_test(NAME EsquemaDoRegistro
  COMMAND /usr/bin/python3 ${tarvo_distribuicao}/registro.py $<TARGET_FILE:relatorios-tarvo>
          ${PROJECT_SOURCE_DIR}/demo/esquema.sql ${PROJECT_SOURCE_DIR}/demo/demo.sql
          ${PROJECT_SOURCE_DIR}/data/registro.schema.json)
add_test(NAME PacotesDebian
  COMMAND bash ${tarvo_distribuicao}/pacote.sh ${PROJECT_SOURCE_DIR}
          ${PROJECT_SOURCE_DIR}/build-pacote)
set_tests_properties(Completar Documentacao EsquemaDoRegistro PacotesDebian PROPERTIES
  SKIP_RETURN_CODE 77 TIMEOUT 120 ENVIRONMENT "LC_ALL=C.UTF-8")
# --impressora completes the printers of the tests' own scheduler.
set_tests_properties(Completar PROPERTIES FIXTURES_REQUIRED CupsDosTestes
  ENVIRONMENT "LC_ALL=C.UTF-8;CUPS_SERVER=${TARVO_CUPS_SOCKET}")
