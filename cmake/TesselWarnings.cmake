# Warnings for the project's own targets: always on. They are errors when
# TESSEL_WARNINGS_AS_ERRORS is set (the presets and CI set it); a game that
# builds the SDK as its subproject, with a compiler of its choosing, does not
# fail on them.
# (-Wnon-virtual-dtor is left out on purpose: the platform object interfaces
# must not have virtual destructors, which would shift their slots.)
option(TESSEL_WARNINGS_AS_ERRORS "Treat the SDK's compiler warnings as errors" ${PROJECT_IS_TOP_LEVEL})
add_library(tessel_warnings INTERFACE)
if(MSVC)
  target_compile_options(tessel_warnings INTERFACE /W4 $<$<BOOL:${TESSEL_WARNINGS_AS_ERRORS}>:/WX>)
else()
  target_compile_options(tessel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wunused -Wconversion
    -Wsign-conversion -Wnull-dereference -Wdouble-promotion -Wformat=2
    $<$<BOOL:${TESSEL_WARNINGS_AS_ERRORS}>:-Werror>
    # g++ checks null dereferences only when optimising, and then also in the
    # standard library's and EnTT's inlined code (shared_ptr swaps, meta
    # nodes), where it reports paths that cannot occur: there it warns only.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-error=null-dereference>
    $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast -Woverloaded-virtual>)
endif()

function(tessel_use_warnings target)
  target_link_libraries(${target} PRIVATE tessel_warnings)
endfunction()
