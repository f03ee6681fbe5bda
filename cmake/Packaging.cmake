# Install rules and packages. The updater reads update.cfg and writes orlenza.err beside its own
# executable, so it is installed as a folder of its own inside the host application's folder
# (/opt/<app>/updater on Linux, the application's folder on Windows), never into a shared bin/.
if(UNIX AND CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/updater CACHE PATH "The updater's own folder" FORCE)
endif()

install(TARGETS updater RUNTIME DESTINATION .)
install(FILES examples/update.cfg README.md LICENSE DESTINATION .)

set(CPACK_PACKAGE_NAME updater)
set(CPACK_PACKAGE_VENDOR "Updater maintainers")
set(CPACK_PACKAGE_CONTACT "Updater maintainers <updater@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FTP update downloader that lives as a notification-area icon")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # updater-1.0.19-win64.zip (x86-64) or updater-1.0.19-win32.zip (32-bit x86): updater.exe, a sample
  # update.cfg, README.md and LICENSE at its top.
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  # updater_1.0.19_amd64.deb, installing into /opt/updater; its dependencies are read from the binary.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /opt/updater)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
  set(CPACK_PACKAGE_DESCRIPTION "A host application starts it with an FTP address, the file's size and a \
language; it downloads the file, shows the progress in the icon's tooltip and starts the installer it fetched.")
  # update.cfg is the host's (or the administrator's) to change: an upgrade keeps their version.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles "/opt/updater/update.cfg\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
endif()
include(CPack)
