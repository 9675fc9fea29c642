# Compiler warnings for the project's own targets, linked PRIVATE to each.
add_library(zor_warnings INTERFACE)
target_compile_options(
  zor_warnings
  INTERFACE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
            $<$<BOOL:${ZOR_WARNINGS_AS_ERRORS}>:-Werror>)
