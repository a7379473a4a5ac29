# Warnings for the project's own targets: on, and treated as errors.
# (-Wnon-virtual-dtor is left out on purpose: the platform object interfaces
# must not have virtual destructors, which would shift their slots.)
add_library(tessel_warnings INTERFACE)
if(MSVC)
  target_compile_options(tessel_warnings INTERFACE /W4 /WX)
else()
  target_compile_options(tessel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wunused -Wconversion
    -Wsign-conversion -Wnull-dereference -Wdouble-promotion -Wformat=2 -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast -Woverloaded-virtual>)
endif()

function(tessel_use_warnings target)
  target_link_libraries(${target} PRIVATE tessel_warnings)
endfunction()
