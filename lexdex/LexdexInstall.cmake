# Installing lexdex for other programs: the shared library with its SONAME
# (component lexdex, the runtime package), and for building against it the
# name link, the header, a pkg-config file and a CMake package with the
# imported target lexdex::lexdex (component lexdex_dev).
include(CMakePackageConfigHelpers)

set(LEXDEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/lexdex)

install(TARGETS lexdex EXPORT lexdexTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lexdex NAMELINK_COMPONENT lexdex_dev
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT lexdex_dev)
install(EXPORT lexdexTargets NAMESPACE lexdex:: DESTINATION ${LEXDEX_CMAKE_DIR} COMPONENT lexdex_dev)

configure_package_config_file(lexdexConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/lexdexConfig.cmake
  INSTALL_DESTINATION ${LEXDEX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/lexdexConfigVersion.cmake
  VERSION ${LEXDEX_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lexdexConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/lexdexConfigVersion.cmake
  DESTINATION ${LEXDEX_CMAKE_DIR} COMPONENT lexdex_dev)

configure_file(lexdex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/lexdex.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lexdex.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT lexdex_dev)
