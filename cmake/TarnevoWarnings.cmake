# tarnevo_warnings: the compiler warnings every target of the project builds with. Each target
# links it PRIVATE (third-party code such as googletest does not). TARNEVO_WERROR makes them errors.
option(TARNEVO_WERROR "Treat compiler warnings as errors" OFF)

add_library(tarnevo_warnings INTERFACE)
if(MSVC)
  target_compile_options(tarnevo_warnings INTERFACE /W4 $<$<BOOL:${TARNEVO_WERROR}>:/WX>)
else()
  target_compile_options(tarnevo_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wduplicated-cond -Wlogical-op -Wformat=2
    $<$<COMPILE_LANGUAGE:CXX>:-Woverloaded-virtual>
    $<$<BOOL:${TARNEVO_WERROR}>:-Werror>)
endif()
