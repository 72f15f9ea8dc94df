# vesk_add_program(<name> SOURCES ... [LIBRARIES ...])
# A 64-bit Windows GUI program with a Unicode entry point (wWinMain).
function(vesk_add_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} WIN32 ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
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
