# Copies the module into ~/.vst, the folder Linux hosts scan for one user's
# VST 2.4 plug-ins (ACTION=install), or removes it again (ACTION=uninstall).
#   cmake -DACTION=install -DMODULE=path/Kestrelphon.so -P InstallUser.cmake
if(NOT DEFINED ENV{HOME} OR "$ENV{HOME}" STREQUAL "")
  message(FATAL_ERROR "HOME is not set: no user folder to install into")
endif()
set(dir "$ENV{HOME}/.vst")
get_filename_component(name "${MODULE}" NAME)
if(ACTION STREQUAL "install")
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${MODULE}" "${dir}/${name}")
  message(STATUS "Installed ${dir}/${name}: let the host rescan its plug-ins")
elseif(ACTION STREQUAL "uninstall")
  file(REMOVE "${dir}/${name}")
  message(STATUS "Removed ${dir}/${name}")
else()
  message(FATAL_ERROR "ACTION is install or uninstall, not \"${ACTION}\"")
endif()
