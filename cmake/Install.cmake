# Installation as a CMake package (find_package(XWTH) -> XWTH::XWTH) and as a
# pkg-config module (xwth.pc).
include(CMakePackageConfigHelpers)

set(XWTH_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/XWTH)

install(TARGETS winport TQLog TQTH TQImaging Config XWTH
  EXPORT XWTHTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/xwth DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/winport
    PATTERN posix EXCLUDE)
else()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/winport)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/companion/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/companion
  FILES_MATCHING PATTERN "*.h")

install(EXPORT XWTHTargets NAMESPACE XWTH:: DESTINATION ${XWTH_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/XWTHConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/XWTHConfig.cmake
  INSTALL_DESTINATION ${XWTH_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/XWTHConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/XWTHConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/XWTHConfigVersion.cmake
  DESTINATION ${XWTH_INSTALL_CMAKEDIR})

if(WIN32)
  set(XWTH_PC_WINPORT_CFLAGS "")
else()
  set(XWTH_PC_WINPORT_CFLAGS "-I\${includedir}/winport/posix")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/xwth.pc.in ${CMAKE_CURRENT_BINARY_DIR}/xwth.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/xwth.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
