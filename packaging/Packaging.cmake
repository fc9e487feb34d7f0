# Debian packages through CPack, one per component:
#   pandecta       the reader, pandecta-tool, help, demo collection, desktop files
#   liblexdex2     the engine's shared library
#   liblexdex-dev  its header, pkg-config and CMake package files
# scripts/package.sh builds them into dist/. Dependencies on system libraries
# come from the binaries (dpkg-shlibdeps); the one on the engine is stated.
set(PANDECTA_DEBIAN_RELEASE 1)
set(PANDECTA_PACKAGE_VERSION ${PROJECT_VERSION}-${PANDECTA_DEBIAN_RELEASE})

# Each package carries its copyright file and changelog under /usr/share/doc.
add_gzipped_file(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
foreach(component_package IN ITEMS "pandecta;pandecta" "lexdex;liblexdex2" "lexdex_dev;liblexdex-dev")
  list(GET component_package 0 component)
  list(GET component_package 1 package)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pandecta)
set(CPACK_PACKAGE_VENDOR Orvalho)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvalho <pacotes@pandecta.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL pandecta lexdex lexdex_dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PANDECTA_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.pandecta.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shlibs file of liblexdex2 lets other packages depend on it the same way.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The engine is not installed while the packages are made: dpkg-shlibdeps
# reads it from the build tree and the packages name liblexdex2 themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

set(CPACK_DEBIAN_PANDECTA_PACKAGE_NAME pandecta)
set(CPACK_DEBIAN_PANDECTA_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PANDECTA_PACKAGE_DEPENDS "liblexdex2 (= ${PANDECTA_PACKAGE_VERSION})")
set(CPACK_COMPONENT_PANDECTA_DESCRIPTION
"reader of a collection of legal and fiscal documents
Pandecta reads a large collection of legal and fiscal documents offline:
it browses the tree of titles, opens texts and pictures, follows links,
prints, and searches the whole collection by words and phrases. Its windows
and help are in Brazilian Portuguese.

The package holds the reader (pandecta), the command-line companion
pandecta-tool, the help and a small demo collection with its word index.")

set(CPACK_DEBIAN_LEXDEX_PACKAGE_NAME liblexdex2)
set(CPACK_DEBIAN_LEXDEX_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LEXDEX_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/triggers)
set(CPACK_COMPONENT_LEXDEX_DESCRIPTION
"word-index engine of Pandecta
lexdex keeps a word index in one folder, shared over a network and guarded
by a lock file, and finds the groups and positions of exact words. It has a
plain C interface.

This package holds the shared library.")

set(CPACK_DEBIAN_LEXDEX_DEV_PACKAGE_NAME liblexdex-dev)
set(CPACK_DEBIAN_LEXDEX_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LEXDEX_DEV_PACKAGE_DEPENDS "liblexdex2 (= ${PANDECTA_PACKAGE_VERSION})")
set(CPACK_COMPONENT_LEXDEX_DEV_DESCRIPTION
"word-index engine of Pandecta - development files
lexdex keeps a word index in one folder, shared over a network and guarded
by a lock file, and finds the groups and positions of exact words. It has a
plain C interface.

This package holds the header, the pkg-config file (lexdex.pc) and the
CMake package (find_package(lexdex), target lexdex::lexdex).")

include(CPack)
