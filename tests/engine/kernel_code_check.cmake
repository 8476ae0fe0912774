# Checks a block kernel's object file. It must define one global symbol, its
# kernel: anything else it exported could be picked by the linker in place of
# the same function compiled for another instruction set. And it must hold no
# instruction matching FORBIDDEN: nothing the AVX2 kernel's machines may lack
# (AVX-512), no VEX-encoded instruction in the baseline one.
#
#   cmake -DNM=... -DOBJDUMP=... -DOBJECT=... -DKERNEL=... -DFORBIDDEN=<regex> -P kernel_code_check.cmake
execute_process(COMMAND ${NM} --defined-only --extern-only ${OBJECT}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${OBJECT}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
list(LENGTH lines count)
if(NOT count EQUAL 1 OR NOT symbols MATCHES "${KERNEL}")
  message(FATAL_ERROR "${OBJECT} must define ${KERNEL} alone; it defines:\n${symbols}")
endif()

execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${OBJECT}
  OUTPUT_VARIABLE code RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${OBJECT}")
endif()
string(REGEX MATCHALL "[^\n]*(${FORBIDDEN})[^\n]*" found "${code}")
if(found)
  list(GET found 0 first)
  list(LENGTH found n)
  message(FATAL_ERROR "${OBJECT}: ${n} forbidden instructions, the first:\n${first}")
endif()
message(STATUS "${KERNEL}: one symbol, no instruction matching ${FORBIDDEN}")
