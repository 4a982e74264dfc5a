# Fails when a file under a module folder includes a header from a module on a
# higher floor (or beside it), or includes SDL or Windows headers. Linking alone
# misses an include used only for a type or a constant.
#
#   cmake -DROOT=<source folder> -P include_layers.cmake
#
# Floors, bottom to top: the port layer's interface and Core; dict, persist,
# video and sound; game; flow. The backends and main sit on top and are not checked.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source folder> -P include_layers.cmake")
endif()

# What each module may include besides itself.
set(allowed_Core "platform/platform.h")
set(allowed_dict "Core;platform/platform.h")
set(allowed_persist "Core;platform/platform.h")
set(allowed_video "Core;platform/platform.h")
set(allowed_sound "Core;platform/platform.h")
set(allowed_game "Core;platform/platform.h;dict;sound")
set(allowed_flow "Core;platform/platform.h;dict;persist;video;sound;game")
set(allowed_platform/platform.h "")
set(modules Core dict persist video sound game flow)

# Windows' own headers and DirectX's, in any case.
set(windows_headers
    "^(windows|winbase|winuser|wingdi|winnt|winerror|shlobj|shellapi|objbase|mmsystem|mmreg|ddraw|dinput|dsound|d3d[0-9a-z]*)\\.h$")

set(faults "")
set(checked 0)

# The module a path under ROOT belongs to, or the port layer's interface.
function(owner_of relative out)
  if(relative STREQUAL "platform/platform.h")
    set(${out} "platform/platform.h" PARENT_SCOPE)
    return()
  endif()
  string(REGEX MATCH "^[^/]+" top "${relative}")
  set(${out} "${top}" PARENT_SCOPE)
endfunction()

function(check_file file module)
  file(RELATIVE_PATH name "${ROOT}" "${file}")
  get_filename_component(dir "${file}" DIRECTORY)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      string(TOLOWER "${header}" lower)
      if(header MATCHES "^SDL" OR header MATCHES "(^|/)SDL[^/]*\\.h$" OR lower MATCHES "${windows_headers}")
        list(APPEND faults "${name} includes <${header}>: only platform/ includes SDL or Windows headers")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    # Beside the including file first, as the compiler looks, then from the top.
    if(EXISTS "${dir}/${header}")
      get_filename_component(target "${dir}/${header}" ABSOLUTE)
    else()
      get_filename_component(target "${ROOT}/${header}" ABSOLUTE)
    endif()
    file(RELATIVE_PATH relative "${ROOT}" "${target}")
    owner_of("${relative}" owner)
    if(owner STREQUAL module)
      continue()
    endif()
    if(NOT owner IN_LIST allowed_${module})
      list(APPEND faults "${name} includes \"${header}\" (${owner}), which is not below ${module}")
    endif()
  endforeach()
  set(faults "${faults}" PARENT_SCOPE)
endfunction()

foreach(module IN LISTS modules)
  file(GLOB_RECURSE files LIST_DIRECTORIES false "${ROOT}/${module}/*.h" "${ROOT}/${module}/*.hpp"
       "${ROOT}/${module}/*.cpp" "${ROOT}/${module}/*.cc" "${ROOT}/${module}/*.c")
  foreach(file IN LISTS files)
    check_file("${file}" "${module}")
    math(EXPR checked "${checked} + 1")
  endforeach()
endforeach()
# The port layer's interface sits on the bottom floor with Core.
if(EXISTS "${ROOT}/platform/platform.h")
  check_file("${ROOT}/platform/platform.h" "platform/platform.h")
  math(EXPR checked "${checked} + 1")
endif()

if(checked EQUAL 0)
  message(FATAL_ERROR "no module files found under ${ROOT}")
endif()
if(faults)
  foreach(fault IN LISTS faults)
    message("upward include: ${fault}")
  endforeach()
  list(LENGTH faults count)
  message(FATAL_ERROR "${count} include(s) run upward")
endif()
message(STATUS "${checked} files, every include on its own floor or below")
