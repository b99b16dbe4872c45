# The warnings every target of the program, and every test program
# (tests/CMakeLists.txt), is built with; the test command's builds turn them
# into errors (ORVANEL_WERROR).
option(ORVANEL_WERROR "Treat warnings as errors" OFF)
add_library(orvanel_warnings INTERFACE)
if(MSVC)
    target_compile_options(orvanel_warnings INTERFACE /W4 $<$<BOOL:${ORVANEL_WERROR}>:/WX>)
else()
    target_compile_options(orvanel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                      $<$<BOOL:${ORVANEL_WERROR}>:-Werror>)
endif()
