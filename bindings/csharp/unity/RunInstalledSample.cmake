# Runs the C# sample game against an installed Unity-style package folder:
# its assembly and its native libraries, nothing from the build tree. The
# folder is first copied with every symlink replaced by the file it points
# to, as an engine's asset import does, and the sample runs from the copy.
#   cmake -DPACKAGE=<folder> -DSAMPLE=<TesselSample.exe> -DMONO=<mono> -DWORK=<scratch folder> -P RunInstalledSample.cmake
foreach(file package.json Runtime/Tessel.PCSDK.dll Runtime/Tessel.PCSDK.xml Runtime/Tessel.PCSDK.dll.config)
  if(NOT EXISTS "${PACKAGE}/${file}")
    message(FATAL_ERROR "the package has no ${file}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
set(copy "${WORK}/package")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${PACKAGE}" "${PACKAGE}/*")
set(links "")
foreach(file IN LISTS files)
  if(IS_SYMLINK "${PACKAGE}/${file}")
    list(APPEND links "${file}")
  endif()
  get_filename_component(dir "${copy}/${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  # file(READ/WRITE) would mangle binaries; configure_file COPYONLY copies
  # the content a link points to.
  configure_file("${PACKAGE}/${file}" "${copy}/${file}" COPYONLY)
endforeach()
file(COPY "${SAMPLE}" DESTINATION "${WORK}")
get_filename_component(sample_name "${SAMPLE}" NAME)
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "LD_LIBRARY_PATH=${copy}/Plugins/x86_64" "MONO_PATH=${copy}/Runtime"
          "${MONO}" "${WORK}/${sample_name}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the sample game failed against a copy of the installed package that does not keep symlinks (${rc})")
endif()
if(links)
  message(FATAL_ERROR "the package holds symlinks, which an engine's import turns into second copies: ${links}")
endif()
