# Windows programs, cross-built with mingw-w64: self-contained, so a book runs on any Windows
# with nothing installed beside it, and with address-space randomisation and no-execute data.
add_link_options(-static -static-libgcc -static-libstdc++
                 LINKER:--dynamicbase LINKER:--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(LINKER:--high-entropy-va)
else()
  # A book's self image is read whole: large-address-aware, a 32-bit program gets 4 GB of address
  # space on 64-bit Windows instead of 2.
  add_link_options(LINKER:--large-address-aware)
endif()
# Every book carries its stub: released programs keep no symbols (the static C++ library brings
# its own debug sections otherwise).
add_link_options($<$<CONFIG:Release>:-s>)

# Tests run under Wine in a prefix of this build folder's own: 64-bit programs under the host's
# Wine, 32-bit ones under the 32-bit Wine of a Debian root of their own (scripts/make-i386-root),
# since 32-bit Wine installed on the host breaks the host's.
if(CMAKE_CROSSCOMPILING AND QUILLMERE_BUILD_TESTS)
  set(QUILLMERE_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  set(executable_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ WORLD_READ)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QUILLMERE_WINE_ARCH win64)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS ${executable_permissions} @ONLY)
  else()
    set(QUILLMERE_WINE_ARCH win32)
    set(QUILLMERE_I386_ROOT "/var/cache/quillmere/i386-root" CACHE PATH
        "The 32-bit Debian root whose Wine runs the i686 tests (made by scripts/setup)")
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run-inside.sh
                   FILE_PERMISSIONS ${executable_permissions} @ONLY)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine32-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS ${executable_permissions} @ONLY)
    # The programs books ship with are built without the root: the suites list their tests when
    # CTest runs them, not when they are linked.
    set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

# Fails the build when a program imports a DLL that is not part of Windows itself, or lost its
# large-address, ASLR or DEP bit.
function(quillmere_check_system_imports target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckSystemImports.cmake
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckPeFlags.cmake
    VERBATIM)
endfunction()
