# Compares a shared library's exported symbols with an expected list.
#
#   cmake -DLIBRARY=<file> -DEXPECTED=<list> -DNM=<nm> -DCXXFILT=<c++filt> -P CheckExports.cmake
#   cmake -DLIBRARY=<dll> -DEXPECTED=<list> -DOBJDUMP=<objdump> -DCXXFILT=<c++filt> -P CheckExports.cmake
#
# The expected list holds one demangled name per line (a plain name for C
# and plain-named C++ functions, the demangled signature for members of
# exported classes). The check fails on any name missing or extra.
cmake_policy(VERSION 3.25)  # list() keeps empty elements (script mode sets no policies)
foreach(var LIBRARY EXPECTED CXXFILT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckExports: ${var} is not set")
  endif()
endforeach()
if(NOT DEFINED NM AND NOT DEFINED OBJDUMP)
  message(FATAL_ERROR "CheckExports: NM or OBJDUMP must be set")
endif()

set(mangled "")
if(DEFINED OBJDUMP)
  # A Windows DLL (-DOBJDUMP=<objdump>, NM unused): the names of its export
  # table, listed by `objdump -p` under "[Ordinal/Name Pointer] Table".
  execute_process(
    COMMAND "${OBJDUMP}" -p "${LIBRARY}"
    OUTPUT_VARIABLE dump_out RESULT_VARIABLE dump_rc)
  if(NOT dump_rc EQUAL 0)
    message(FATAL_ERROR "CheckExports: ${OBJDUMP} failed on ${LIBRARY}")
  endif()
  string(REPLACE "\n" ";" lines "${dump_out}")
  set(in_names OFF)
  foreach(line IN LISTS lines)
    if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
      set(in_names ON)
    elseif(in_names AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
      list(APPEND mangled "${CMAKE_MATCH_1}")
    elseif(in_names)
      break()
    endif()
  endforeach()
  set(lines "")
else()
  execute_process(
    COMMAND "${NM}" -D --defined-only --format=posix "${LIBRARY}"
    OUTPUT_VARIABLE nm_out RESULT_VARIABLE nm_rc)
  if(NOT nm_rc EQUAL 0)
    message(FATAL_ERROR "CheckExports: ${NM} failed on ${LIBRARY}")
  endif()
  string(REPLACE "\n" ";" lines "${nm_out}")
endif()

foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ]+) ([A-Za-z]) ")
    set(symbol "${CMAKE_MATCH_1}")
    set(kind "${CMAKE_MATCH_2}")
    # Version nodes of the linker script are not symbols of the library.
    if(kind STREQUAL "A")
      continue()
    endif()
    string(REGEX REPLACE "@.*$" "" symbol "${symbol}")
    list(APPEND mangled "${symbol}")
  endif()
endforeach()

set(actual "")
if(mangled)
  string(REPLACE ";" "\n" joined "${mangled}")
  file(WRITE "${LIBRARY}.symbols" "${joined}\n")
  execute_process(
    COMMAND "${CXXFILT}"
    INPUT_FILE "${LIBRARY}.symbols"
    OUTPUT_VARIABLE demangled)
  string(REPLACE "\n" ";" actual "${demangled}")
  list(FILTER actual EXCLUDE REGEX "^$")
endif()
list(REMOVE_DUPLICATES actual)  # complete and base constructor/destructor variants
list(SORT actual)

file(STRINGS "${EXPECTED}" expected)
list(FILTER expected EXCLUDE REGEX "^(#.*)?$")
list(REMOVE_DUPLICATES expected)
list(SORT expected)

set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(extra ${actual})
list(REMOVE_ITEM extra ${expected})
list(LENGTH actual count)
if(missing OR extra)
  string(REPLACE ";" "\n  " missing_text "${missing}")
  string(REPLACE ";" "\n  " extra_text "${extra}")
  message(FATAL_ERROR "Exports of ${LIBRARY} differ from ${EXPECTED}\n"
                      "missing:\n  ${missing_text}\nunexpected:\n  ${extra_text}")
endif()
message(STATUS "${LIBRARY}: ${count} exports, as expected")
