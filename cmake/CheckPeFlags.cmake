# cmake -DOBJDUMP=... -DPROGRAM=... -P CheckPeFlags.cmake
cmake_policy(VERSION 3.25)
# The programs books ship with keep address-space randomisation and no-execute data, and are
# large-address-aware: a book is read whole, and a 32-bit program gets 4 GB on 64-bit Windows only
# with the bit.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed")
endif()
if(NOT dump MATCHES "\nCharacteristics[ \t]+0x([0-9a-fA-F]+)"
   OR NOT dump MATCHES "\nDllCharacteristics[ \t]+([0-9a-fA-F]+)")
  message(FATAL_ERROR "${PROGRAM}: no PE characteristics in objdump's report")
endif()
string(REGEX MATCH "\nCharacteristics[ \t]+0x([0-9a-fA-F]+)" _ "${dump}")
math(EXPR characteristics "0x${CMAKE_MATCH_1}")
string(REGEX MATCH "\nDllCharacteristics[ \t]+([0-9a-fA-F]+)" _ "${dump}")
math(EXPR dll_characteristics "0x${CMAKE_MATCH_1}")
foreach(flag_name IN ITEMS "large-address-aware:characteristics:0x20"
                          "dynamic base (ASLR):dll_characteristics:0x40"
                          "NX compatible (DEP):dll_characteristics:0x100")
  string(REPLACE ":" ";" parts "${flag_name}")
  list(GET parts 0 name)
  list(GET parts 1 field)
  list(GET parts 2 bit)
  math(EXPR set "${${field}} & ${bit}")
  if(set EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} is not ${name}")
  endif()
endforeach()
