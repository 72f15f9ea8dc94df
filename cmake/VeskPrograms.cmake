# The folder of this file and of the scripts its functions run.
set(VESK_PROGRAMS_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# vesk_add_program(<name> SOURCES ... [LIBRARIES ...])
# A 64-bit Windows GUI program with a Unicode entry point (wWinMain), its sections page-aligned
# in the file and its resources read-only; under MinGW with a terminate handler that ends the
# process without the runtime's message (mingw_terminate_handler.cpp).
function(vesk_add_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} WIN32 ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  # Section raw data aligned to the page size (4096): the loader maps the sections straight from
  # the file. With the default 512 bytes it has to read and copy them, so a program carrying a
  # large payload would spend its start copying the payload into private memory.
  # The resource section read-only, as the Microsoft linker makes it (GNU ld makes it writable):
  # Windows counts a program's writable pages as the process's private memory once it is mapped.
  if(MINGW)
    target_sources(${name} PRIVATE ${VESK_PROGRAMS_CMAKE_DIR}/mingw_terminate_handler.cpp)
    target_link_options(${name} PRIVATE -municode -Wl,--file-alignment,4096)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND python3 ${VESK_PROGRAMS_CMAKE_DIR}/read_only_resources.py $<TARGET_FILE:${name}>
      VERBATIM)
  elseif(MSVC)
    target_link_options(${name} PRIVATE /FILEALIGN:4096)
  endif()
endfunction()

# Path of a build-tree file as a Windows program under test sees it (Wine maps / to drive Z:).
function(vesk_windows_path out path)
  if(CMAKE_HOST_UNIX)
    set(${out} "Z:${path}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()
