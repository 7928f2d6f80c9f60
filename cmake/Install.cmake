# What `cmake --install` puts where, under GNU's directory names: the two programs, the
# desktop entry, the AppStream metainfo, the icons, the man pages, and the licence.
include(GNUInstallDirs)

configure_file("${PROJECT_SOURCE_DIR}/packaging/app.desktop.in"
    "${PROJECT_BINARY_DIR}/packaging/${KALENO_APP_ID}.desktop" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/packaging/app.metainfo.xml.in"
    "${PROJECT_BINARY_DIR}/packaging/${KALENO_APP_ID}.metainfo.xml" @ONLY)

# Man pages and the changelog carry the version of cmake/Version.cmake, and go compressed,
# without a time stamp, so that the same sources give the same package.
set(_kaleno_compressed)
foreach(_page kaleno.6 kaleno-solve.6 changelog)
    set(_page_file "${PROJECT_BINARY_DIR}/packaging/${_page}")
    configure_file("${PROJECT_SOURCE_DIR}/packaging/${_page}.in" "${_page_file}" @ONLY)
    set(_out "${_page_file}.gz")
    add_custom_command(OUTPUT "${_out}"
        COMMAND gzip -9nc "${_page_file}" > "${_out}"
        DEPENDS "${_page_file}"
        VERBATIM)
    list(APPEND _kaleno_compressed "${_out}")
endforeach()
add_custom_target(kaleno_compressed_docs ALL DEPENDS ${_kaleno_compressed})

install(TARGETS kaleno kaleno-solve RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_BINARY_DIR}/packaging/${KALENO_APP_ID}.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_BINARY_DIR}/packaging/${KALENO_APP_ID}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/icons/hicolor"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")
install(FILES "${PROJECT_BINARY_DIR}/packaging/kaleno.6.gz" "${PROJECT_BINARY_DIR}/packaging/kaleno-solve.6.gz"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
# The package's name, not the project's, names the documentation folder.
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${PROJECT_BINARY_DIR}/packaging/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/kaleno")
