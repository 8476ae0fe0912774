# Script mode: reads the export and import tables of the DLL with OBJDUMP and
# fails unless it exports exactly VSTPluginMain, VstPluginMain and main and imports from
# system DLLs only (so it loads on a bare Windows, with no compiler runtime).
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} RESULT_VARIABLE rc OUTPUT_VARIABLE dump)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${rc}")
endif()

# Exports: the lines of the name table, "[   0] VSTPluginMain". Square
# brackets would change how CMake splits lists, so they become angle ones.
string(REPLACE "[" "<" dump "${dump}")
string(REPLACE "]" ">" dump "${dump}")
string(REGEX MATCH "<Ordinal/Name Pointer> Table\n(([ \t]+< *[0-9]+> [^\n]+\n)*)" table "${dump}")
string(REGEX MATCHALL "> [^\n]+" rows "${CMAKE_MATCH_1}")
set(exports "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^> " "" name "${row}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "VSTPluginMain;VstPluginMain;main")
  list(LENGTH exports count)
  list(SUBLIST exports 0 8 some)
  message(FATAL_ERROR "the DLL must export VSTPluginMain, VstPluginMain and main only, it exports ${count}: ${some} ...")
endif()
message(STATUS "exports: ${exports}")

# Imports: every "DLL Name:" line.
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(imports "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(TOLOWER "${name}" name)
  list(APPEND imports "${name}")
endforeach()
message(STATUS "imports: ${imports}")
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${DLL}")
endif()
set(system kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll
           comdlg32.dll msvcrt.dll ucrtbase.dll ws2_32.dll winmm.dll)
foreach(name IN LISTS imports)
  if(NOT name IN_LIST system AND NOT name MATCHES "^api-ms-win-")
    message(FATAL_ERROR "the DLL imports ${name}, which a bare Windows does not have")
  endif()
endforeach()
