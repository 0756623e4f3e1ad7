# The Win32 face (platform/win32/face) and the resources it builds its
# dialogs from. The resource script is written at build time from the
# templates and strings in resources/ by a small program built for this
# machine, so the templates exist once; the compiled resources go into every
# program.
enable_language(RC)

# The build machine's own compiler (never searched in the target's root).
find_program(PV14_HOST_CXX NAMES c++ g++ REQUIRED)
set(PV14_RESOURCE_GENERATOR ${CMAKE_BINARY_DIR}/host/MakeResourceScript)
set(PV14_RESOURCE_GENERATOR_SOURCES
    resources/win32/MakeResourceScript.cpp resources/win32/ResourceScript.cpp resources/Templates.cpp
    resources/Text.cpp resources/Strings.cpp platform/Encoding.cpp)
list(TRANSFORM PV14_RESOURCE_GENERATOR_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
file(GLOB PV14_RESOURCE_GENERATOR_HEADERS CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/platform/*.h ${CMAKE_SOURCE_DIR}/resources/*.h
     ${CMAKE_SOURCE_DIR}/resources/win32/*.h)
add_custom_command(
  OUTPUT ${PV14_RESOURCE_GENERATOR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${PV14_HOST_CXX} -std=c++20 -O1 -I${CMAKE_SOURCE_DIR} ${PV14_RESOURCE_GENERATOR_SOURCES}
          -o ${PV14_RESOURCE_GENERATOR}
  DEPENDS ${PV14_RESOURCE_GENERATOR_SOURCES} ${PV14_RESOURCE_GENERATOR_HEADERS}
  COMMENT "Building the resource script generator for the build machine"
  VERBATIM)

set(PV14_RESOURCE_SCRIPT ${CMAKE_BINARY_DIR}/pv14-resources.rc)
add_custom_command(
  OUTPUT ${PV14_RESOURCE_SCRIPT}
  COMMAND ${PV14_RESOURCE_GENERATOR} ${PV14_RESOURCE_SCRIPT}
  DEPENDS ${PV14_RESOURCE_GENERATOR}
  COMMENT "Writing dialogs 130 and 131 and the string table as a resource script"
  VERBATIM)

# Resources have no symbol for a linker to pull from an archive: every
# program linking the platform takes their object itself.
add_library(pv14_win32_resources OBJECT ${PV14_RESOURCE_SCRIPT})
target_link_libraries(pv14_platform INTERFACE $<TARGET_OBJECTS:pv14_win32_resources>)
