# A resource file's name and type: the base name is the resource name, the
# type comes from the extension (.kst -> BANK, .png -> PNG, else RCDATA).
# Shared by the embedded table (Linux) and the resource script (Windows).
function(kest_resource_name_type file name_var type_var)
  get_filename_component(name "${file}" NAME_WE)
  get_filename_component(ext "${file}" EXT)
  string(TOLOWER "${ext}" ext)
  if(ext STREQUAL ".kst")
    set(type "BANK")
  elseif(ext STREQUAL ".png")
    set(type "PNG")
  else()
    set(type "RCDATA")
  endif()
  set(${name_var} "${name}" PARENT_SCOPE)
  set(${type_var} "${type}" PARENT_SCOPE)
endfunction()
