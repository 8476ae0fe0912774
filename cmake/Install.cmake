# Where a DAW finds the plug-in: `cmake --install` puts the module into
# lib/lxvst of the prefix (a folder Linux hosts scan for VST 2.4 plug-ins)
# with its manual beside it, and the tools into bin; CPack makes a Debian
# package of the same; the target install-user copies the module and its
# manual into ~/.vst for one user.
if(WIN32)
  return()
endif()

install(TARGETS Kestrelphon LIBRARY DESTINATION lib/lxvst COMPONENT plugin)
foreach(tool kestrelphon-editor kestrelphon-render kestrelphon-info)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION bin COMPONENT tools)
  endif()
endforeach()
install(FILES README.md DESTINATION share/doc/kestrelphon COMPONENT plugin)
# The editor's help opens the manual from beside the module.
if(KEST_MANUAL_FILES)
  install(FILES ${KEST_MANUAL_FILES} DESTINATION lib/lxvst/Kestrelphon-manual COMPONENT plugin)
endif()

foreach(action install uninstall)
  add_custom_target(${action}-user
    COMMAND ${CMAKE_COMMAND} -DACTION=${action} -DMODULE=$<TARGET_FILE:Kestrelphon>
            -DMANUAL=${KEST_MANUAL_DIR}
            -P ${PROJECT_SOURCE_DIR}/cmake/InstallUser.cmake
    DEPENDS Kestrelphon
    COMMENT "${action} Kestrelphon.so for this user (~/.vst)"
    VERBATIM)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrelphon)
set(CPACK_PACKAGE_VENDOR Grauwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pitched comb-filter step sequencer effect (VST 2.4 plug-in)")
set(CPACK_PACKAGE_DESCRIPTION
  "Kestrelphon sends a stereo signal through three pitched stereo comb voices whose\n\
notes come from three 16-step sequences following the host's musical position.\n\
The package holds the Linux VST 2.4 module with its editor (in /usr/lib/lxvst)\n\
and the tools kestrelphon-editor, kestrelphon-render and kestrelphon-info.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER Grauwick)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as Debian names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fallback face when the desktop offers no Tahoma.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
include(CPack)
