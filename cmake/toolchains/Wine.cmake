# Runs the cross-built Windows programs (tests, try-runs) under Wine. The
# prefix lives in the build folder, so a fresh build folder starts clean and a
# kept one starts fast.
find_program(KEST_WINE NAMES wine64 wine HINTS /usr/lib/wine)
find_program(KEST_WINESERVER NAMES wineserver HINTS /usr/lib/wine)
if(NOT KEST_WINE OR NOT KEST_WINESERVER)
  message(STATUS "Wine not found: the Windows programs build but the tests cannot run here")
  return()
endif()
set(KEST_WINEPREFIX "${PROJECT_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix the tests run in")
# The fonts the prefix gets: DejaVu Sans, the editor's fallback face, in all
# its styles, as a Linux machine has it (so the search must pick the right one).
set(KEST_WINE_FONTS "/usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE
  @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
