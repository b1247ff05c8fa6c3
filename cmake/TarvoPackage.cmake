# `cmake --install` and the Debian package (scripts/package builds it).
include(GNUInstallDirs)
install(TARGETS tarvo tarvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants the documents compressed, reproducibly (no name, no time stamp).
function(tarvo_install_gzipped source destination)
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${compressed} COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    install(FILES ${compressed} DESTINATION ${destination})
endfunction()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
tarvo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_INSTALL_DOCDIR})
tarvo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/tarvo.1 ${CMAKE_INSTALL_MANDIR}/man1)
tarvo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/tarvo-cli.1 ${CMAKE_INSTALL_MANDIR}/man1)
# The router service: tarvo-cli watch on one adapter per instance.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tarvo-watch@.service DESTINATION lib/systemd/system)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tarvo-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tarvo-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tarvo developers <developers@tarvo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fair Access Policy monitor for a metered satellite link")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvo captures the frames on the adapter that carries a satellite internet
link, counts what this computer and the listed LAN addresses download and
upload, and runs the provider's bucket model locally, showing the restriction
state, the allowance left and the times to throttle and cut-off in a small
window and a tray icon.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarvo.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# setcap for the post-install step; the fonts the windows ask for; the SQLite driver the history opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin, fonts-liberation2, libqt6sql6-sqlite")
# Qt's own translations put the standard buttons in the language of the program's texts.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
