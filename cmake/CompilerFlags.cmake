# Flags shared by every target of the project.
#
# -ffp-contract=off: the sound path is defined to the rounding of every step,
# so no fused multiply-add may merge two roundings into one.
add_compile_options(-ffp-contract=off -fno-fast-math)
add_compile_options(-Wall -Wextra -Wpedantic)
if(KEST_WERROR)
  add_compile_options(-Werror)
endif()
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_C_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

if(KEST_SANITIZE)
  add_compile_options(-fsanitize=${KEST_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KEST_SANITIZE})
endif()
