# Embeds files into the module: each file becomes a named, typed byte block
# that kest_find_resource() (src/params/Resources.h) finds at run time.
# The type comes from the extension: .kst -> BANK, .png -> PNG.
function(kest_embed_resources target)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/kest_resources_data.cpp)
  add_custom_command(
    OUTPUT ${gen}
    COMMAND ${CMAKE_COMMAND} -DOUT=${gen} "-DFILES=${ARGN}" -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources"
    VERBATIM)
  add_library(${target} OBJECT ${gen})
endfunction()
