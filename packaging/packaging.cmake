# The Debian package: `cpack -G DEB` in a configured and built folder. The dependencies
# come from the linked libraries (dpkg-shlibdeps) plus what Qt loads at run time.

set(QUILLET_MAINTAINER "Quillet maintainers <maintainers@quillet.org>")

# Debian wants a copyright file and a compressed changelog in the package's doc folder.
set(quillet_doc ${CMAKE_INSTALL_DATADIR}/doc/quillet)
execute_process(COMMAND date -R -u -d "${QUILLET_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUILLET_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
                   COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/packaging/changelog
                   DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(quillet_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${quillet_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUILLET_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis is the project's description; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "While you read in any other program, system-wide hot keys copy the selected
text into Quillet's document, wrapped in tags that say what it is (title,
body text, author, source, date). Folders of such files can have their tags
removed or be exported to XML, CSV, JSON Lines or an SQLite database.
.
quillet-batch runs the same operations from scripts and checks a folder for
damaged files before it is exported.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, so no linked library names them: the X11 platform plugin and
# the SVG reader that draws the icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
include(CPack)
