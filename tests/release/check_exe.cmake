# Checks the release program: no larger than LIMIT bytes, and importing only
# DLLs that every Windows has, so it runs from a bare folder.
# Usage: cmake -DEXE=... -DOBJDUMP=... -DLIMIT=... -P check_exe.cmake
cmake_minimum_required(VERSION 3.25)
set(system_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll)

file(SIZE ${EXE} size)
math(EXPR kilobytes "${size} / 1024")
message(STATUS "${EXE}: ${size} bytes (${kilobytes} KB)")
if(size GREATER LIMIT)
  message(FATAL_ERROR "The program is ${size} bytes, more than the ${LIMIT} allowed")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "No imports found in ${EXE}")
endif()
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  message(STATUS "imports ${dll}")
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "The program imports ${dll}, which is not a system DLL")
  endif()
endforeach()
