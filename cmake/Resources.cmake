# Embeds files into the module: each file becomes a named, typed byte block
# that kest_find_resource() (src/params/Resources.h) finds at run time.
# The type comes from the extension: .kst -> BANK, .png -> PNG.
#
# On Windows they are real module resources: a resource script naming every
# file is compiled with windres, and the lookup goes through FindResource.
function(kest_embed_resources target)
  if(WIN32)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/kest_resources.rc)
    include(${PROJECT_SOURCE_DIR}/cmake/WindowsResources.cmake)
    kest_write_resource_script(${rc} ${ARGN})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${ARGN}")
    add_library(${target} OBJECT ${rc})
    return()
  endif()
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/kest_resources_data.cpp)
  add_custom_command(
    OUTPUT ${gen}
    COMMAND ${CMAKE_COMMAND} -DOUT=${gen} "-DFILES=${ARGN}" -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
            ${PROJECT_SOURCE_DIR}/cmake/ResourceName.cmake
    COMMENT "Embedding resources"
    VERBATIM)
  add_library(${target} OBJECT ${gen})
endfunction()
