# Installing Glyvex as a desktop program, and packaging it as a .deb (cpack -G DEB).
#
#   <prefix>/lib/glyvex/glyvex          the program, with README.txt beside it (the README
#   <prefix>/lib/glyvex/README.txt      window reads it from the program's own directory)
#   <prefix>/bin/glyvex                 relative link to the program, for the PATH
#   <prefix>/share/applications/        desktop entry
#   <prefix>/share/metainfo/            AppStream metadata
#   <prefix>/share/icons/hicolor/       the program icon, 16 to 256 pixels
#   <prefix>/share/man/man1/glyvex.1.gz the manual page
#   <prefix>/share/doc/glyvex/          copyright (Debian's machine-readable format, with the
#                                       licence of LICENSE) and changelog.gz
include(GNUInstallDirs)

set(GLYVEX_ID org.example.Glyvex)
set(GLYVEX_PROGRAM_DIR lib/glyvex)

# The program links only to system libraries: no run path (Qt's project setup would give it
# $ORIGIN/../lib, which the build tree's binary has no room for).
set_property(TARGET glyvex PROPERTY INSTALL_RPATH "")
install(TARGETS glyvex RUNTIME DESTINATION ${GLYVEX_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/resources/README.txt DESTINATION ${GLYVEX_PROGRAM_DIR})

# The link is made here once and installed as a link (install(FILES) keeps links as they are);
# being relative it holds under any prefix and inside the package.
file(RELATIVE_PATH _glyvex_link_target /${CMAKE_INSTALL_BINDIR} /${GLYVEX_PROGRAM_DIR}/glyvex)
set(_glyvex_link ${PROJECT_BINARY_DIR}/install-link/glyvex)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/install-link)
file(CREATE_LINK ${_glyvex_link_target} ${_glyvex_link} SYMBOLIC)
install(FILES ${_glyvex_link} DESTINATION ${CMAKE_INSTALL_BINDIR})

set(_glyvex_data ${PROJECT_SOURCE_DIR}/data)
install(FILES ${_glyvex_data}/${GLYVEX_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_glyvex_data}/${GLYVEX_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The 32-pixel icon is the program's own 16-colour icon; the other sizes are drawn from it.
foreach(size 16 22 24 32 48 64 128 256)
  if(size EQUAL 32)
    set(_glyvex_icon ${PROJECT_SOURCE_DIR}/src/resources/icon.png)
  else()
    set(_glyvex_icon ${PROJECT_SOURCE_DIR}/src/resources/icon-${size}.png)
  endif()
  install(FILES ${_glyvex_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${GLYVEX_ID}.png)
endforeach()

# The manual page and the changelog are installed compressed as Debian wants them (gzip -9n:
# no name or time stamp inside, so the same text gives the same bytes).
set(_glyvex_doc_out ${PROJECT_BINARY_DIR}/doc)
file(MAKE_DIRECTORY ${_glyvex_doc_out})
foreach(pair "glyvex.1;glyvex.1.gz" "debian/changelog;changelog.gz")
  list(GET pair 0 _in)
  list(GET pair 1 _out)
  execute_process(COMMAND gzip -9nc INPUT_FILE ${_glyvex_data}/${_in} OUTPUT_FILE ${_glyvex_doc_out}/${_out}
                  COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_glyvex_data}/${_in})
endforeach()
install(FILES ${_glyvex_doc_out}/glyvex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The copyright file carries the whole licence of LICENSE as its License paragraph: every line
# indented by one space, empty lines written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _glyvex_license)
string(REGEX REPLACE "\n+$" "" _glyvex_license "${_glyvex_license}")
string(REPLACE "\n" "\n " GLYVEX_LICENSE_TEXT " ${_glyvex_license}")
foreach(_twice 1 2)
  string(REPLACE "\n \n" "\n .\n" GLYVEX_LICENSE_TEXT "${GLYVEX_LICENSE_TEXT}")
endforeach()
configure_file(${_glyvex_data}/debian/copyright.in ${_glyvex_doc_out}/copyright @ONLY)
install(FILES ${_glyvex_doc_out}/copyright ${_glyvex_doc_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glyvex)

# Debian package. Library dependencies come from dpkg-shlibdeps (Qt's X11 platform plugin is in
# libqt6gui6 itself); the rest is what the program needs at run time without linking to it: the
# metric-compatible faces that stand in for Arial and Courier New.
set(CPACK_PACKAGE_NAME glyvex)
set(CPACK_PACKAGE_VENDOR "The Glyvex developers")
set(CPACK_PACKAGE_CONTACT "The Glyvex developers <glyvex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "font viewer comparing installed fonts with Arial")
set(CPACK_PACKAGE_DESCRIPTION
    "Glyvex shows the letters, digits and special characters of any installed
font side by side with the same characters in Arial. It can also show a
sentence of your own in any font, and set a text file in a chosen font and
size as an RTF document.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Glyvex developers <glyvex@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/glyvex/")
# The licence (LICENSE) forbids selling and changing the program, so by Debian's rules it is
# not free software and belongs to the non-free area.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
include(CPack)
