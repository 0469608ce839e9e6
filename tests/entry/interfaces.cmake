# Beyond the in-process tests: the entry tests drive the command-line program,
# a C program uses the C interface through the shared library, and an
# installed tree is built against.
# A host process that writes to the database while the tests build reports.
add_executable(escritor_concorrente ${CMAKE_CURRENT_LIST_DIR}/escritor/escritor_concorrente.c)
target_link_libraries(escritor_concorrente PRIVATE SQLite::SQLite3)
add_dependencies(testes_entry relatorios-tarvo escritor_concorrente)
target_compile_definitions(testes_entry PRIVATE
  TARVO_PROGRAMA="$<TARGET_FILE:relatorios-tarvo>"
  TARVO_ESCRITOR="$<TARGET_FILE:escritor_concorrente>")

add_executable(teste_interface_c ${CMAKE_CURRENT_LIST_DIR}/TesteInterfaceC.c)
target_link_libraries(teste_interface_c PRIVATE relatorios_tarvo SQLite::SQLite3)
target_compile_definitions(teste_interface_c PRIVATE
  TARVO_ESQUEMA_SQL="${PROJECT_SOURCE_DIR}/demo/esquema.sql"
  TARVO_VERSAO="${PROJECT_VERSION}")
add_test(NAME InterfaceC COMMAND teste_interface_c)
# No display at all: exports take no Qt application, printing one the
# library makes offscreen. Nor does fontconfig know the report fonts: each
# application the library makes must be given them.
set(fontes_sem_liberation ${CMAKE_CURRENT_LIST_DIR}/fontes-sem-liberation.conf)
set_tests_properties(InterfaceC PROPERTIES
  TIMEOUT 120
  FIXTURES_REQUIRED CupsDosTestes
  ENVIRONMENT "LC_ALL=C.UTF-8;CUPS_SERVER=${TARVO_CUPS_SOCKET};FONTCONFIG_FILE=${fontes_sem_liberation}"
  ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=unset:;DISPLAY=unset:;WAYLAND_DISPLAY=unset:")

# The C interface from several threads at once, with no display either.
find_package(Threads REQUIRED)
add_executable(teste_interface_c_concorrente ${CMAKE_CURRENT_LIST_DIR}/TesteInterfaceCConcorrente.c)
target_link_libraries(teste_interface_c_concorrente PRIVATE relatorios_tarvo SQLite::SQLite3
  Threads::Threads)
target_compile_definitions(teste_interface_c_concorrente PRIVATE
  TARVO_ESQUEMA_SQL="${PROJECT_SOURCE_DIR}/demo/esquema.sql")
add_test(NAME InterfaceCConcorrente COMMAND teste_interface_c_concorrente)
set_tests_properties(InterfaceCConcorrente PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "LC_ALL=C.UTF-8"
  ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=unset:;DISPLAY=unset:;WAYLAND_DISPLAY=unset:")

# A host whose Qt application is core-only exports without any display (in a
# folder of its own: it has its own main, outside the entry test program).
add_executable(teste_hospedeiro_nucleo ${CMAKE_CURRENT_LIST_DIR}/nucleo/TesteHospedeiroNucleo.cpp)
target_link_libraries(teste_hospedeiro_nucleo PRIVATE relatorios_tarvo Qt6::Core SQLite::SQLite3)
target_compile_definitions(teste_hospedeiro_nucleo PRIVATE
  TARVO_ESQUEMA_SQL="${PROJECT_SOURCE_DIR}/demo/esquema.sql"
  TARVO_DEMO_SQL="${PROJECT_SOURCE_DIR}/demo/demo.sql")
add_test(NAME HospedeiroNucleo COMMAND teste_hospedeiro_nucleo)
set_tests_properties(HospedeiroNucleo PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "LC_ALL=C.UTF-8"
  ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=unset:;DISPLAY=unset:;WAYLAND_DISPLAY=unset:")

# The installed tree is checked in the normal build only: consumers built
# against a sanitized library would need the sanitizer runtime preloaded.
if(TARVO_SANITIZE OR TARVO_TSAN)
  return()
endif()
add_test(NAME Instalacao COMMAND ${CMAKE_COMMAND}
  -DBUILD=${PROJECT_BINARY_DIR}
  -DCONSUMIDOR=${CMAKE_CURRENT_LIST_DIR}/consumidor
  -DPASTA=${CMAKE_CURRENT_BINARY_DIR}/instalacao
  -DGERADOR=${CMAKE_GENERATOR}
  -DCOMPILADOR_C=${CMAKE_C_COMPILER}
  -DSIMBOLOS=${PROJECT_SOURCE_DIR}/cmake/simbolos_exportados.txt
  -P ${PROJECT_SOURCE_DIR}/cmake/TestarInstalacao.cmake)
set_tests_properties(Instalacao PROPERTIES TIMEOUT 300 ENVIRONMENT "${TARVO_AMBIENTE_TESTE}")
