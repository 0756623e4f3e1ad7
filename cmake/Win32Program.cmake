# Gives a Windows program its version resource and application manifest,
# both from the project's version. DESCRIPTION is the file description as
# a wide resource string: windres reads no UTF-8, so characters outside
# printable ASCII are written as \xHHHH.
set(PV14_COMPANY_NAME "Kanjomaru Software" CACHE STRING "Company name in the version resources")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(PV14_MANIFEST_ARCHITECTURE amd64)
else()
  set(PV14_MANIFEST_ARCHITECTURE x86)
endif()

function(pv14_win32_program program description)
  set(PV14_PROGRAM ${program})
  set(PV14_PROGRAM_DESCRIPTION "${description}")
  set(PV14_PROGRAM_MANIFEST ${CMAKE_BINARY_DIR}/program-resources/${program}.manifest)
  configure_file(${CMAKE_SOURCE_DIR}/resources/win32/Program.manifest.in
                 ${PV14_PROGRAM_MANIFEST} @ONLY)
  set(script ${CMAKE_BINARY_DIR}/program-resources/${program}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/win32/Program.rc.in ${script} @ONLY)
  target_sources(${program} PRIVATE ${script})
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${PV14_PROGRAM_MANIFEST})
endfunction()
