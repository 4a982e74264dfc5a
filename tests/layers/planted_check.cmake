# Runs the include check over the planted tree: it must fail and name exactly
# the planted faults, no more (Core/fine.cpp and the allowed includes pass).
#
#   cmake -DCHECK=<include_layers.cmake> -DROOT=<planted tree> -P planted_check.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with upward includes:\n${all}")
endif()
set(expected
    "dict/sideways.cpp includes <SDL2/SDL.h>"
    "dict/sideways.cpp includes \"persist/fieldreader.h\""
    "game/upward.cpp includes \"flow/frame.h\""
    "video/direct.cpp includes <DDraw.h>")
foreach(fault IN LISTS expected)
  string(FIND "${all}" "upward include: ${fault}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name ${fault}:\n${all}")
  endif()
endforeach()
string(REGEX MATCHALL "upward include: " named "${all}")
list(LENGTH named count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "the check named ${count} faults, not the 4 planted:\n${all}")
endif()
