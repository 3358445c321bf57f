# Windows programs, cross-built with mingw-w64: self-contained, so a book runs on any Windows
# with nothing installed beside it, and with address-space randomisation and no-execute data.
add_link_options(-static -static-libgcc -static-libstdc++
                 LINKER:--dynamicbase LINKER:--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(LINKER:--high-entropy-va)
endif()
# Every book carries its stub: released programs keep no symbols (the static C++ library brings
# its own debug sections otherwise).
add_link_options($<$<CONFIG:Release>:-s>)

# Tests run under Wine in a prefix of this build folder's own; only 64-bit programs can run here.
if(CMAKE_CROSSCOMPILING AND QUILLMERE_BUILD_TESTS)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    message(FATAL_ERROR "Tests run under 64-bit Wine only: build them in the win64 preset")
  endif()
  set(QUILLMERE_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ WORLD_READ
                 @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

# Fails the build when a program imports a DLL that is not part of Windows itself.
function(quillmere_check_system_imports target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckSystemImports.cmake
    VERBATIM)
endfunction()
