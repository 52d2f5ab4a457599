# The sources of the platform layer and of the library, named once for the
# normal build and for the fuzz build that compiles them whole, instrumented.
# Sets MORVELANCE_PLATFORM_SOURCES and MORVELANCE_SOURCES; the library's
# resource scripts (not the platform tests' own) travel inside it as text that
# it compiles when it loads, embedded into a source made in the build tree.

file(GLOB MORVELANCE_PLATFORM_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/base/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/gdi/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/ui/windowing/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/ui/builtin/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/ui/framework/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/xml/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/print/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/mfer/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/strandel/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/penwick/*.cpp)

set(MORVELANCE_SUBSYSTEMS core documents controls printdevice waveviews analysisviews forms dialogs panes reports resources)
set(MORVELANCE_SOURCES)
foreach(dir ${MORVELANCE_SUBSYSTEMS})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND MORVELANCE_SOURCES ${_src})
endforeach()

file(GLOB MORVELANCE_RESOURCE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/dialogs/*.rc)
list(FILTER MORVELANCE_RESOURCE_SCRIPTS EXCLUDE REGEX "/PlatformTests\\.rc$")
set(MORVELANCE_EMBEDDED_SCRIPTS ${CMAKE_BINARY_DIR}/generated/resources/EmbeddedScripts.cpp)
add_custom_command(OUTPUT ${MORVELANCE_EMBEDDED_SCRIPTS}
  COMMAND ${CMAKE_COMMAND} -DOUT=${MORVELANCE_EMBEDDED_SCRIPTS} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
          "-DSCRIPTS=${MORVELANCE_RESOURCE_SCRIPTS}" -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResourceScripts.cmake
  DEPENDS ${MORVELANCE_RESOURCE_SCRIPTS} ${CMAKE_SOURCE_DIR}/cmake/EmbedResourceScripts.cmake
  COMMENT "Embedding the resource scripts"
  VERBATIM)
list(APPEND MORVELANCE_SOURCES ${MORVELANCE_EMBEDDED_SCRIPTS})
