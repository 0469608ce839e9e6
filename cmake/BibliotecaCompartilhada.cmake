# The shared library relatorios_tarvo gathers every object of the five static
# subsystem libraries; `cmake --install` puts it, the headers (in the same
# folder layout, as they include each other that way), a CMake package and a
# pkg-config file under the prefix.
include(CMakePackageConfigHelpers)

set(TARVO_PASTA_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/RelatoriosTarvo)
set(TARVO_PASTA_INCLUDE ${CMAKE_INSTALL_INCLUDEDIR}/relatorios_tarvo)

configure_file(${PROJECT_SOURCE_DIR}/cmake/relatorios_tarvo_versao.cpp.in
  ${CMAKE_CURRENT_BINARY_DIR}/relatorios_tarvo_versao.cpp @ONLY)
# Built from the subsystems' own objects: linking their archives whole would
# repeat the two that need each other.
add_library(relatorios_tarvo SHARED
  ${CMAKE_CURRENT_BINARY_DIR}/relatorios_tarvo_versao.cpp
  $<TARGET_OBJECTS:tarvo_entry>
  $<TARGET_OBJECTS:tarvo_reports>
  $<TARGET_OBJECTS:tarvo_engine>
  $<TARGET_OBJECTS:tarvo_data>
  $<TARGET_OBJECTS:tarvo_common>)
add_library(RelatoriosTarvo::relatorios_tarvo ALIAS relatorios_tarvo)
set_target_properties(relatorios_tarvo PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(relatorios_tarvo PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${TARVO_PASTA_INCLUDE}>)
# The public headers use Qt types (QImage, QDialog). The archive of the entry
# subsystem brings the other libraries' own dependencies (Qt, SQLite, ICU);
# none of its members is taken, as the objects above define them all.
target_link_libraries(relatorios_tarvo
  PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets
  PRIVATE tarvo_entry)

install(TARGETS relatorios_tarvo EXPORT RelatoriosTarvoAlvos
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(pasta common data engine reports entry)
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${pasta}/
    DESTINATION ${TARVO_PASTA_INCLUDE}/${pasta}
    FILES_MATCHING PATTERN "*.h")
endforeach()

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
