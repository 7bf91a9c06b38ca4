# jc_embed_resources(TARGET FILES...): builds the files into TARGET as byte arrays that
# ui::findResource finds by file name (see resources.h). Plain C++, so every platform's
# build uses the same mechanism. TARGET must be an executable or an object library: the
# set registers itself from a static object, which a static library could leave out.
function(jc_embed_resources target)
  set(generator ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_generate.cmake)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DFILES=${files} -P ${generator}
    DEPENDS ${ARGN} ${generator}
    COMMENT "Building resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
