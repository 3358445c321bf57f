# cmake -DOBJDUMP=... -DPROGRAM=... -P CheckSystemImports.cmake
cmake_policy(VERSION 3.25)
# A book carries its stub alone: every DLL the program imports must come with Windows.
set(system_dlls
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll uuid.dll version.dll winspool.drv ws2_32.dll
  uxtheme.dll imm32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${PROGRAM}: no imported DLL found; is this a Windows program?")
endif()
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls AND NOT dll MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which Windows does not provide")
  endif()
endforeach()
