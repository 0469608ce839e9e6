# The shared library relatorios_tarvo: the objects of every subsystem, of
# which only the public API is visible. `cmake --install` puts it, the public
# headers, a CMake package and a pkg-config file under the prefix.
include(CMakePackageConfigHelpers)

set(TARVO_PASTA_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/RelatoriosTarvo)

add_library(relatorios_tarvo SHARED)
add_library(RelatoriosTarvo::relatorios_tarvo ALIAS relatorios_tarvo)
target_link_libraries(relatorios_tarvo PRIVATE ${TARVO_OBJETOS})
set_target_properties(relatorios_tarvo PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/relatorios_tarvo.map)
# Hidden visibility keeps the inner classes in; the version script also keeps
# in the standard library's template instances, which are never hidden.
target_link_options(relatorios_tarvo PRIVATE
  -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/relatorios_tarvo.map)
target_include_directories(relatorios_tarvo PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# The public headers: nothing of Qt, SQLite or the library's inner classes.
set(TARVO_CABECALHOS_PUBLICOS
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/CatalogoErros.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Database.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Erro.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Exportacao.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Pedido.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Progresso.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/Relatorios.h
  ${PROJECT_SOURCE_DIR}/include/RelatoriosTarvo/relatorios_tarvo.h)

install(TARGETS relatorios_tarvo EXPORT RelatoriosTarvoAlvos
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${TARVO_CABECALHOS_PUBLICOS}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/RelatoriosTarvo)

install(EXPORT RelatoriosTarvoAlvos
  NAMESPACE RelatoriosTarvo::
  FILE RelatoriosTarvoTargets.cmake
  DESTINATION ${TARVO_PASTA_CMAKE})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/RelatoriosTarvoConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/RelatoriosTarvoConfig.cmake
  INSTALL_DESTINATION ${TARVO_PASTA_CMAKE})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/RelatoriosTarvoConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/RelatoriosTarvoConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/RelatoriosTarvoConfigVersion.cmake
  DESTINATION ${TARVO_PASTA_CMAKE})

# The .pc file finds the prefix from its own place, so that the tree can be
# installed under any --prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(TARVO_PC_PREFIXO "${CMAKE_INSTALL_PREFIX}")
  set(TARVO_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH TARVO_PC_SUBIDA "/r/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/r")
  string(REGEX REPLACE "/$" "" TARVO_PC_SUBIDA "${TARVO_PC_SUBIDA}")
  set(TARVO_PC_PREFIXO "\${pcfiledir}/${TARVO_PC_SUBIDA}")
  set(TARVO_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/relatorios_tarvo.pc.in
  ${CMAKE_CURRENT_BINARY_DIR}/relatorios_tarvo.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/relatorios_tarvo.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
