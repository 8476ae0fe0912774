# Writes the resource script RC naming every file as a Windows resource:
# the file's base name is the resource name, the type comes from the
# extension as on Linux (.kst -> BANK, .png -> PNG, anything else RCDATA).
include(${CMAKE_CURRENT_LIST_DIR}/ResourceName.cmake)

function(kest_write_resource_script rc)
  set(text "// Generated from resources/; do not edit.\n")
  foreach(f IN LISTS ARGN)
    kest_resource_name_type("${f}" name type)
    # Names are looked up case-insensitively by Windows; they are stored in
    # capitals, as the lookup names are.
    if(NOT name MATCHES "^[A-Z][A-Z0-9_]*$")
      message(FATAL_ERROR "resource file name must be capitals, digits and '_': ${f}")
    endif()
    string(APPEND text "${name} ${type} \"${f}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT "${rc}" CONTENT "${text}" @ONLY)
endfunction()
