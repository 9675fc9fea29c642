# zor_add_program(NAME SOURCES...): one of the console programs, with its own
# copy of the patcher and, unless ZOR_STATIC_LINK is off, no shared library
# to load at start-up.
function(zor_add_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE patcher zor_warnings)
  if(ZOR_STATIC_LINK)
    target_link_options(${name} PRIVATE -static)
  endif()
endfunction()
