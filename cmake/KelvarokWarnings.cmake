# The project's warnings for every target. They become errors only in the
# project's own builds (scripts/build.sh and CI turn KELVAROK_WERROR on): a
# distribution's flags or a newer compiler must not break someone's build.
option(KELVAROK_WERROR "Treat compiler warnings as errors" OFF)
set(kelvarok_werror $<$<BOOL:${KELVAROK_WERROR}>:-Werror>)

function(kelvarok_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual ${kelvarok_werror})
endfunction()

# Tests and benchmarks: the same, without the conversion warnings that fight
# the test frameworks' macros.
function(kelvarok_test_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow ${kelvarok_werror})
endfunction()
