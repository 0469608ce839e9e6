# Installs a built tree into a fresh prefix and checks it as a host sees it:
# only the public headers are installed, the library exports exactly the
# symbols listed in simbolos_exportados.txt, the command-line program imports
# nothing else of it, pkg-config gives no flags of the library's own
# dependencies, and small C and C++ consumers build and run against it through
# find_package(RelatoriosTarvo) and through pkg-config.
#   cmake -DBUILD=<build> -DCONSUMIDOR=<consumer sources> -DPASTA=<scratch>
#         -DGERADOR=<generator> -DCOMPILADOR_C=<cc> -DSIMBOLOS=<list> -P TestarInstalacao.cmake
function(rodar)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE saida
    ERROR_VARIABLE saida)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "falhou (${status}): ${ARGN}\n${saida}")
  endif()
  message(STATUS "${ARGN}: ok")
endfunction()

# Symbol names hold brackets ("[abi:cxx11]"), which CMake lists do not
# survive: the lists are compared by the shell.
function(shell descricao script)
  execute_process(COMMAND sh -c "${script}" RESULT_VARIABLE status OUTPUT_VARIABLE saida
    ERROR_VARIABLE saida)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${descricao}\n${saida}")
  endif()
  message(STATUS "${descricao}: ok")
endfunction()

set(prefixo ${PASTA}/prefixo)
file(REMOVE_RECURSE ${PASTA})
rodar(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefixo})

# The installed headers are the public ones only.
file(GLOB_RECURSE cabecalhos RELATIVE ${prefixo}/include ${prefixo}/include/*)
list(SORT cabecalhos)
set(esperados RelatoriosTarvo/CatalogoErros.h RelatoriosTarvo/Database.h RelatoriosTarvo/Erro.h RelatoriosTarvo/Exportacao.h
  RelatoriosTarvo/Pedido.h RelatoriosTarvo/Progresso.h RelatoriosTarvo/Relatorios.h RelatoriosTarvo/relatorios_tarvo.h)
if(NOT cabecalhos STREQUAL esperados)
  message(FATAL_ERROR "cabeçalhos instalados: ${cabecalhos}\nesperados: ${esperados}")
endif()

# The exported symbols are the reviewed list, and the program takes from the
# library only what it exports.
file(GLOB_RECURSE biblioteca ${prefixo}/*/librelatorios_tarvo.so)
set(lista ${PASTA}/exportados.txt)
shell("símbolos exportados (atualize ${SIMBOLOS} se a mudança da ABI for intencional)"
  "nm -D --defined-only -C '${biblioteca}' | cut -d' ' -f2- | LC_ALL=C sort > '${lista}' &&
   grep -v '^#' '${SIMBOLOS}' | LC_ALL=C sort | diff - '${lista}'")
shell("símbolos que relatorios-tarvo importa da biblioteca"
  "nm -D --undefined-only -C '${prefixo}/bin/relatorios-tarvo' | grep tarvo |
   sed 's/^ *U //; s/@RELATORIOS_TARVO_1$//' | LC_ALL=C sort -u > '${PASTA}/importados.txt' &&
   cut -d' ' -f2- '${lista}' | sed 's/@@RELATORIOS_TARVO_1$//' | LC_ALL=C sort -u |
   LC_ALL=C comm -23 '${PASTA}/importados.txt' - | (! grep .)")

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
if(opcoes MATCHES "[Qq]t|sqlite|icu")
  message(FATAL_ERROR "pkg-config dá opções das dependências internas: ${opcoes}")
endif()
separate_arguments(opcoes UNIX_COMMAND "${opcoes}")
rodar(${COMPILADOR_C} ${CONSUMIDOR}/consumidor.c ${opcoes} -Wl,-rpath,${pasta_lib}
  -o ${PASTA}/consumidor_pc)
rodar(${PASTA}/consumidor_pc)

rodar(${prefixo}/bin/relatorios-tarvo --version)
