# Builds the Unity package from the installed package folders of the Linux
# build and (optionally) the Windows build: one folder <OUT>/package/ holding
# both platforms' native libraries, a .meta beside every file and folder, and
# the tarball <OUT>/<name>-<version>.tgz in the layout "add package from
# tarball" reads (package/package.json, package/Runtime/...).
#   cmake -DLINUX_FOLDER=<installed unity folder> [-DWINDOWS_FOLDER=<installed unity folder>]
#         -DOUT=<folder> -DPATCHELF=<patchelf> -P PackUnity.cmake
#
# Layout:
#   package.json, README.md
#   Runtime/Tessel.PCSDK.dll (+ .xml)             the binding, every platform
#   Runtime/Plugins/Linux/x86_64/libPlinth.so ...  64-bit Linux and the Linux editor
#   Runtime/Plugins/Windows/x86_64/Plinth.dll ...  64-bit Windows and the Windows editor
# The Linux libraries are installed under their versioned SONAMEs
# (libPlinth.so.1), which the importer does not take for plugins: here each
# becomes libX.so, with its SONAME and the modules' dependency on the
# platform library renamed to match, so every library loads from the plugin
# folder through its $ORIGIN run path, one copy each. The binding's imports
# (Plinth, Vendra, ...) find those names without a .dll.config.
cmake_minimum_required(VERSION 3.20)
foreach(var LINUX_FOLDER OUT PATCHELF)
  if(NOT ${var})
    message(FATAL_ERROR "PackUnity.cmake needs -D${var}=")
  endif()
endforeach()
foreach(var LINUX_FOLDER WINDOWS_FOLDER OUT)
  if(${var})
    get_filename_component(${var} "${${var}}" ABSOLUTE)
  endif()
endforeach()
set(libraries Plinth Vendra Panora Scrivo Ludex)
set(root "${OUT}/package")
file(REMOVE_RECURSE "${root}")
file(MAKE_DIRECTORY "${root}/Runtime")

file(READ "${LINUX_FOLDER}/package.json" manifest)
string(JSON name GET "${manifest}" name)
string(JSON version GET "${manifest}" version)
file(COPY "${LINUX_FOLDER}/package.json" "${LINUX_FOLDER}/README.md" DESTINATION "${root}")
foreach(file Tessel.PCSDK.dll Tessel.PCSDK.xml)
  if(EXISTS "${LINUX_FOLDER}/Runtime/${file}")
    file(COPY "${LINUX_FOLDER}/Runtime/${file}" DESTINATION "${root}/Runtime")
  elseif(WINDOWS_FOLDER AND EXISTS "${WINDOWS_FOLDER}/Runtime/${file}")
    file(COPY "${WINDOWS_FOLDER}/Runtime/${file}" DESTINATION "${root}/Runtime")
  else()
    message(FATAL_ERROR "neither build installed Runtime/${file}")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: ${out}")
  endif()
endfunction()

# Linux: libX.so.N -> libX.so, SONAME and NEEDED renamed.
set(linux "${root}/Runtime/Plugins/Linux/x86_64")
file(MAKE_DIRECTORY "${linux}")
foreach(library IN LISTS libraries)
  file(GLOB found "${LINUX_FOLDER}/Plugins/x86_64/lib${library}.so*")
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one lib${library}.so* in ${LINUX_FOLDER}/Plugins/x86_64, found: ${found}")
  endif()
  set(target "${linux}/lib${library}.so")
  file(COPY_FILE "${found}" "${target}")
  run("${PATCHELF}" --set-soname "lib${library}.so" "${target}")
  foreach(other IN LISTS libraries)
    file(GLOB other_found "${LINUX_FOLDER}/Plugins/x86_64/lib${other}.so*")
    if(other_found AND NOT other STREQUAL library)
      get_filename_component(other_name "${other_found}" NAME)
      run("${PATCHELF}" --replace-needed "${other_name}" "lib${other}.so" "${target}")
    endif()
  endforeach()
endforeach()

# Windows: the DLLs as installed.
if(WINDOWS_FOLDER)
  set(windows "${root}/Runtime/Plugins/Windows/x86_64")
  file(MAKE_DIRECTORY "${windows}")
  file(GLOB dlls "${WINDOWS_FOLDER}/Plugins/x86_64/*.dll")
  if(NOT dlls)
    message(FATAL_ERROR "no DLLs in ${WINDOWS_FOLDER}/Plugins/x86_64")
  endif()
  file(COPY ${dlls} DESTINATION "${windows}")
endif()

# --- .meta files ---------------------------------------------------------------
# GUIDs are the MD5 of the package name and the asset's path: the same asset
# keeps its GUID from one build to the next, and no two assets share one.
function(write_meta path importer)
  file(RELATIVE_PATH relative "${root}" "${path}")
  string(MD5 guid "${name}/${relative}")
  file(WRITE "${path}.meta" "fileFormatVersion: 2\nguid: ${guid}\n${importer}")
endfunction()

set(default_importer "DefaultImporter:\n  externalObjects: {}\n  userData: \n  assetBundleName: \n  assetBundleVariant: \n")
set(text_importer "TextScriptImporter:\n  externalObjects: {}\n  userData: \n  assetBundleName: \n  assetBundleVariant: \n")
set(manifest_importer "PackageManifestImporter:\n  externalObjects: {}\n  userData: \n  assetBundleName: \n  assetBundleVariant: \n")

# A plugin for one platform: the standalone player of that platform and the
# editor on it; every other platform excluded.
function(plugin_importer out any editor_os linux64 win64 editor)
  set(cpu_linux None)
  set(cpu_win None)
  if(linux64)
    set(cpu_linux x86_64)
  endif()
  if(win64)
    set(cpu_win x86_64)
  endif()
  math(EXPR exclude_linux "1 - ${linux64}")
  math(EXPR exclude_win "1 - ${win64}")
  math(EXPR exclude_editor "1 - ${editor}")
  set(${out} "PluginImporter:
  externalObjects: {}
  serializedVersion: 2
  iconMap: {}
  executionOrder: {}
  defineConstraints: []
  isPreloaded: 0
  isOverridable: 0
  isExplicitlyReferenced: 0
  validateReferences: 1
  platformData:
  - first:
      : Any
    second:
      enabled: ${any}
      settings:
        Exclude Editor: ${exclude_editor}
        Exclude Linux64: ${exclude_linux}
        Exclude OSXUniversal: 1
        Exclude Win: 1
        Exclude Win64: ${exclude_win}
  - first:
      Any: 
    second:
      enabled: ${any}
      settings: {}
  - first:
      Editor: Editor
    second:
      enabled: ${editor}
      settings:
        CPU: x86_64
        DefaultValueInitialized: true
        OS: ${editor_os}
  - first:
      Standalone: Linux64
    second:
      enabled: ${linux64}
      settings:
        CPU: ${cpu_linux}
  - first:
      Standalone: OSXUniversal
    second:
      enabled: 0
      settings:
        CPU: None
  - first:
      Standalone: Win
    second:
      enabled: 0
      settings:
        CPU: None
  - first:
      Standalone: Win64
    second:
      enabled: ${win64}
      settings:
        CPU: ${cpu_win}
  userData: 
  assetBundleName: 
  assetBundleVariant: 
" PARENT_SCOPE)
endfunction()

plugin_importer(managed_importer 1 AnyOS 1 1 1)
plugin_importer(linux_importer 0 Linux 1 0 1)
plugin_importer(windows_importer 0 Windows 0 1 1)

file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}")
    write_meta("${entry}" "folderAsset: yes\n${default_importer}")
  elseif(entry MATCHES "/package\\.json$")
    write_meta("${entry}" "${manifest_importer}")
  elseif(entry MATCHES "/Plugins/Linux/x86_64/[^/]+\\.so$")
    write_meta("${entry}" "${linux_importer}")
  elseif(entry MATCHES "/Plugins/Windows/x86_64/[^/]+\\.dll$")
    write_meta("${entry}" "${windows_importer}")
  elseif(entry MATCHES "/Runtime/Tessel\\.PCSDK\\.dll$")
    write_meta("${entry}" "${managed_importer}")
  elseif(entry MATCHES "\\.(md|xml|txt|json)$")
    write_meta("${entry}" "${text_importer}")
  else()
    write_meta("${entry}" "${default_importer}")
  endif()
endforeach()

# --- Tarball ---------------------------------------------------------------------
set(tarball "${OUT}/${name}-${version}.tgz")
file(REMOVE "${tarball}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${tarball}" --format=gnutar package
                WORKING_DIRECTORY "${OUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write ${tarball}")
endif()
message(STATUS "Unity package: ${root} and ${tarball}")
