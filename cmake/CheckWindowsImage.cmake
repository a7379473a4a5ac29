# Checks what a Windows DLL or program needs from its surroundings.
#
#   cmake -DLIBRARY=<dll or exe> -DOBJDUMP=<objdump>
#         [-DREQUIRED_IMPORTS=<dll>;...] [-DENTRY_CALLS=<function>] -P CheckWindowsImage.cmake
#
# - No MinGW runtime DLL (lib*.dll: the C++ runtime, libgcc, winpthread) is
#   imported: those are linked statically, so nothing has to sit beside it.
# - Every DLL of REQUIRED_IMPORTS is in the import table (linked, not
#   loaded by name at run time).
# - With ENTRY_CALLS, the image's DllMain calls that function: the entry
#   point is the project's own, not the C runtime's default that does nothing.
cmake_policy(VERSION 3.25)
foreach(var LIBRARY OBJDUMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckWindowsImage: ${var} is not set")
  endif()
endforeach()

execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}"
  OUTPUT_VARIABLE headers RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "CheckWindowsImage: ${OBJDUMP} -p failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${headers}")
set(imports "")
foreach(line IN LISTS import_lines)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  list(APPEND imports "${name}")
endforeach()

set(problems "")
foreach(name IN LISTS imports)
  string(TOLOWER "${name}" lower)
  if(lower MATCHES "^lib.*\\.dll$")
    string(APPEND problems "imports the MinGW runtime DLL ${name}\n")
  endif()
endforeach()
foreach(name IN LISTS REQUIRED_IMPORTS)
  if(NOT name IN_LIST imports)
    string(APPEND problems "does not import ${name} (imports: ${imports})\n")
  endif()
endforeach()

if(DEFINED ENTRY_CALLS)
  execute_process(COMMAND "${OBJDUMP}" -d -C --disassemble=DllMain "${LIBRARY}"
    OUTPUT_VARIABLE code RESULT_VARIABLE rc)
  # The disassembly may run on past DllMain: keep its body only.
  string(FIND "${code}" "<DllMain>:\n" start)
  if(NOT rc EQUAL 0 OR start EQUAL -1)
    string(APPEND problems "has no DllMain symbol to inspect\n")
  else()
    string(SUBSTRING "${code}" ${start} -1 body)
    string(REGEX REPLACE "^<DllMain>:\n" "" body "${body}")
    string(REGEX REPLACE "\n[0-9a-f]+ <[^\n]*>:\n.*$" "" body "${body}")
    string(FIND "${body}" "<${ENTRY_CALLS}(" call)
    if(call EQUAL -1)
      string(APPEND problems "has a DllMain that does not call ${ENTRY_CALLS}: not the project's entry point\n")
    endif()
  endif()
endif()

if(NOT problems STREQUAL "")
  message(FATAL_ERROR "${LIBRARY}:\n${problems}")
endif()
message(STATUS "${LIBRARY}: imports ${imports}")
