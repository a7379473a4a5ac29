# Runs the C# sample game against an installed Unity-style package folder:
# its assembly and its native libraries, nothing from the build tree.
#   cmake -DPACKAGE=<folder> -DSAMPLE=<TesselSample.exe> -DMONO=<mono> -DWORK=<scratch folder> -P RunInstalledSample.cmake
foreach(file package.json Runtime/Tessel.PCSDK.dll Runtime/Tessel.PCSDK.xml)
  if(NOT EXISTS "${PACKAGE}/${file}")
    message(FATAL_ERROR "the package has no ${file}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SAMPLE}" "${PACKAGE}/Runtime/Tessel.PCSDK.dll" DESTINATION "${WORK}")
get_filename_component(sample_name "${SAMPLE}" NAME)
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "LD_LIBRARY_PATH=${PACKAGE}/Plugins/x86_64" "${MONO}" "${WORK}/${sample_name}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the sample game failed against the installed package (${rc})")
endif()
