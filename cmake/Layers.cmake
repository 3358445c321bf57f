# The layers of src/, bottom up. Each is a library that links the one below it and may include
# only its own headers and those of the layers below; the include-order test checks that.
set(QUILLMERE_LAYERS platform package records pages navigation ui app stub)

# Backends sit beside the seam (src/platform/<name>/): each may include the seam and the backends
# it names here, and only the stub sees a backend.
set(QUILLMERE_BACKEND_DEPENDS_posix platform)
set(QUILLMERE_BACKEND_DEPENDS_linux platform posix)
set(QUILLMERE_BACKEND_DEPENDS_gtk platform posix)
set(QUILLMERE_BACKEND_DEPENDS_win32 platform)

# The one place that picks a system's backends (bottom up) and the folder of src/stub that holds
# its entry point. A new system is one entry here, plus a folder for each backend of its own.
if(WIN32)
  set(QUILLMERE_BACKENDS win32)
  set(QUILLMERE_ENTRY win32)
else()
  set(QUILLMERE_BACKENDS posix linux gtk)
  set(QUILLMERE_ENTRY gtk)
endif()

# A layer's library: every source in src/<layer>/, linking the layer below.
function(quillmere_layer layer)
  list(FIND QUILLMERE_LAYERS ${layer} index)
  if(index LESS 0)
    message(FATAL_ERROR "${layer} is not a layer")
  endif()
  quillmere_sources(sources ${layer})
  add_library(quillmere-${layer} STATIC ${sources})
  if(index GREATER 0)
    math(EXPR below "${index} - 1")
    list(GET QUILLMERE_LAYERS ${below} lower)
    target_link_libraries(quillmere-${layer} PUBLIC quillmere-${lower})
  endif()
endfunction()

# A backend's library: every source in its folder, linking the seam and the backends it names.
function(quillmere_backend name)
  if(NOT DEFINED QUILLMERE_BACKEND_DEPENDS_${name})
    message(FATAL_ERROR "Backend ${name} is not listed in cmake/Layers.cmake")
  endif()
  quillmere_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(quillmere-platform-${name} STATIC ${sources})
  foreach(dependency IN LISTS QUILLMERE_BACKEND_DEPENDS_${name})
    if(dependency STREQUAL "platform")
      target_link_libraries(quillmere-platform-${name} PUBLIC quillmere-platform)
    else()
      target_link_libraries(quillmere-platform-${name} PUBLIC quillmere-platform-${dependency})
    endif()
  endforeach()
endfunction()
