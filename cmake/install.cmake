# Installation: `cmake --install build --prefix DIR` puts the programs in
# DIR/bin and the site files, default configurations and systemd units in
# DIR/share/kestrostats, where kestrostats-setup finds them.
#
# Components: "server" (everything but the dialog) and "cvarsmith" (the Qt
# dialog), so that the Debian packages (cmake/package.cmake) keep Qt off a
# headless server. "system" holds what only the package installs: the units
# where systemd finds them, the sysusers.d entry, the package's documents;
# it is left out of a plain `cmake --install` (as is "cvarsmith-system", the
# dialog package's documents).
include(GNUInstallDirs)

set(KS_INSTALL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/kestrostats)

foreach(program kestrostats-c kestrostats-s ks-preparse TagSift kestrostats-site kestrostats-admin kestrostats-setup)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
  endif()
endforeach()
if(TARGET Cvarsmith)
  install(TARGETS Cvarsmith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cvarsmith)
endif()

install(FILES
  ${PROJECT_SOURCE_DIR}/site/c-default.cfg
  ${PROJECT_SOURCE_DIR}/site/s-default.cfg
  ${PROJECT_SOURCE_DIR}/site/c-header.html
  ${PROJECT_SOURCE_DIR}/site/c-footer.html
  DESTINATION ${KS_INSTALL_SHARE_DIR} COMPONENT server)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/site/html/ DESTINATION ${KS_INSTALL_SHARE_DIR}/html COMPONENT server)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/contrib/systemd/ DESTINATION ${KS_INSTALL_SHARE_DIR}/systemd COMPONENT server)

# The package's own places (see above). The units go where Debian 12's
# systemd packages put theirs; they are installed, never enabled.
set(KS_SYSTEMD_UNIT_DIR lib/systemd/system CACHE STRING "Where the package puts the systemd units (below the prefix)")
install(FILES ${PROJECT_SOURCE_DIR}/contrib/systemd/kestrostats-season.service
              ${PROJECT_SOURCE_DIR}/contrib/systemd/kestrostats-season.timer
        DESTINATION ${KS_SYSTEMD_UNIT_DIR} COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/contrib/systemd/kestrostats.sysusers
        DESTINATION lib/sysusers.d RENAME kestrostats.conf COMPONENT system EXCLUDE_FROM_ALL)
# Debian wants the changelog compressed, reproducibly (no name, no time).
set(KS_DEB_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/contrib/debian/changelog
                OUTPUT_FILE ${KS_DEB_CHANGELOG} RESULT_VARIABLE ks_gzip_status)
if(NOT ks_gzip_status EQUAL 0)
  message(WARNING "could not compress contrib/debian/changelog; the package will lack its changelog")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/contrib/debian/copyright ${KS_DEB_CHANGELOG} ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrostats COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/contrib/debian/copyright ${KS_DEB_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrostats-cvarsmith COMPONENT cvarsmith-system EXCLUDE_FROM_ALL)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/contrib/debian/changelog)
