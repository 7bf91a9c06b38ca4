# jc_embed_resources(TARGET FILES...): builds the files into TARGET as byte arrays that
# ui::findResource finds by file name (see resources.h). Plain C++, so every platform's
# build uses the same mechanism.
set(JC_EMBED_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/embed_generate.cmake)

function(jc_embed_resources target)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DFILES=${files} -P ${JC_EMBED_GENERATOR}
    DEPENDS ${ARGN} ${JC_EMBED_GENERATOR}
    COMMENT "Building resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
