# The Windows resources of the programs: version information (Russian) for both, and for
# jingleconv.exe its icon and manifest. Included once the programs' targets exist.
if(NOT WIN32)
  return()
endif()
enable_language(RC)

# jc_windows_resources(TARGET DESCRIPTION [ICON file.ico] [MANIFEST file.manifest])
function(jc_windows_resources target description)
  cmake_parse_arguments(ARG "" "ICON;MANIFEST" "" ${ARGN})
  set(JC_NAME ${target})
  set(JC_DESCRIPTION ${description})
  set(JC_PROGRAM_RESOURCES "")
  if(ARG_ICON)
    string(APPEND JC_PROGRAM_RESOURCES "MAINICON ICON \"${ARG_ICON}\"\n")
  endif()
  if(ARG_MANIFEST)
    string(APPEND JC_PROGRAM_RESOURCES
           "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${ARG_MANIFEST}\"\n")
  endif()
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/windows.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
                              OBJECT_DEPENDS "${ARG_ICON};${ARG_MANIFEST}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

jc_windows_resources(jingleconv "Конвертер баз отбивок Vorlangix"
                     ICON ${CMAKE_SOURCE_DIR}/resources/jingleconv.ico
                     MANIFEST ${CMAKE_SOURCE_DIR}/resources/jingleconv.manifest)
jc_windows_resources(pdxsql "Запросы SQL к таблицам Paradox и их просмотр")
