# jc_headers(TARGET PATH...): code that uses TARGET includes these headers or folders as
# "PATH/...", and through TARGET nothing else. Each library's headers get an include root of
# their own in the build tree (symbolic links to the sources), so that a header of a library
# one does not link is not found: the layers' dependencies are the build's, not a rule to
# remember. PATH is relative to src/.
function(jc_headers target)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  foreach(path ${ARGN})
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
