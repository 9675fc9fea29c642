# Installation and packages: the two programs, and beside them the manual
# pages (not on Windows), the README and the licence. On Linux the layout is
# the usual bin/ and share/; a Windows archive holds everything in its root.
include(GNUInstallDirs)

if(WIN32)
  set(ZOR_BIN_DIR .)
  set(ZOR_DOC_DIR .)
else()
  set(ZOR_BIN_DIR ${CMAKE_INSTALL_BINDIR})
  set(ZOR_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
  install(FILES man/zor1remap.1 man/zor2remap.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(TARGETS zor1remap zor2remap RUNTIME DESTINATION ${ZOR_BIN_DIR})
install(FILES README.md LICENSE DESTINATION ${ZOR_DOC_DIR})

set(CPACK_PACKAGE_NAME zorremap)
set(CPACK_PACKAGE_VENDOR "The zorremap developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
