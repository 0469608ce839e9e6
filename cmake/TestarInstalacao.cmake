# Installs a built tree into a fresh prefix, then builds and runs small
# consumers against it: C and C++ through find_package(RelatoriosTarvo), C
# through pkg-config, and the installed command-line program.
#   cmake -DBUILD=<build> -DCONSUMIDOR=<consumer sources> -DPASTA=<scratch>
#         -DGERADOR=<generator> -DCOMPILADOR_C=<cc> -P TestarInstalacao.cmake
function(rodar)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE saida
    ERROR_VARIABLE saida)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "falhou (${status}): ${ARGN}\n${saida}")
  endif()
  message(STATUS "${ARGN}: ok")
endfunction()

set(prefixo ${PASTA}/prefixo)
file(REMOVE_RECURSE ${PASTA})
rodar(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefixo})

rodar(${CMAKE_COMMAND} -S ${CONSUMIDOR} -B ${PASTA}/build -G ${GERADOR}
  -DCMAKE_PREFIX_PATH=${prefixo})
rodar(${CMAKE_COMMAND} --build ${PASTA}/build)
rodar(${PASTA}/build/consumidor)
rodar(${PASTA}/build/consumidor_cpp)

file(GLOB_RECURSE pc ${prefixo}/*/relatorios_tarvo.pc)
get_filename_component(pasta_pc ${pc} DIRECTORY)
get_filename_component(pasta_lib ${pasta_pc} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pasta_pc}
  pkg-config --cflags --libs relatorios_tarvo
  OUTPUT_VARIABLE opcoes OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pkg-config não achou relatorios_tarvo em ${pasta_pc}")
endif()
separate_arguments(opcoes UNIX_COMMAND "${opcoes}")
rodar(${COMPILADOR_C} ${CONSUMIDOR}/consumidor.c ${opcoes} -Wl,-rpath,${pasta_lib}
  -o ${PASTA}/consumidor_pc)
rodar(${PASTA}/consumidor_pc)

rodar(${prefixo}/bin/relatorios-tarvo --version)
