# Installs the program as a desktop application (executable, desktop entry, icons,
# AppStream metainfo) and packages it as a Debian package with CPack:
#   cmake --install build --prefix ~/.local
#   cd build && cpack -G DEB
include(GNUInstallDirs)

set(STOLVAR_RELEASE_DATE "2026-12-08" CACHE STRING "Date of this release (YYYY-MM-DD)")
configure_file(${PROJECT_SOURCE_DIR}/share/com.example.stolvar.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/share/com.example.stolvar.metainfo.xml @ONLY)

install(TARGETS stolvar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS stolvar-curve-chart LIBRARY DESTINATION ${STOLVAR_MODULE_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/share/com.example.stolvar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/share/com.example.stolvar.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/share/icons/stolvar.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/share/icons/${size}x${size}/stolvar.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_PACKAGE_NAME stolvar)
set(CPACK_PACKAGE_VENDOR "Stolvar")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Concrete specimen register with due reminders (Chinese user interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "The register of concrete test-specimen groups of a construction site: daily temperatures,\n"
    "reminders of standard-cured, same-condition and form-removal specimens coming due, weather\n"
    "collection, printed curing records and a daily reminder mail.")
set(CPACK_PACKAGE_CONTACT "Stolvar maintainers <stolvar@example.com>")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Library dependencies are read from the executable by dpkg-shlibdeps; Qt's own texts in
# Chinese (the standard buttons and dialogs) come from Qt's translations package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The Chinese captions need a CJK font; the icon theme lookups need hicolor.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hicolor-icon-theme")
include(CPack)
