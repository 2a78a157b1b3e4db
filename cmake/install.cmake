# Installation: `cmake --install build --prefix DIR` puts the programs in
# DIR/bin and the site files, default configurations and systemd units in
# DIR/share/kestrostats, where kestrostats-setup finds them.
include(GNUInstallDirs)

set(KS_INSTALL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/kestrostats)

foreach(program kestrostats-c kestrostats-s ks-preparse TagSift Cvarsmith kestrostats-site kestrostats-setup)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES
  ${PROJECT_SOURCE_DIR}/site/c-default.cfg
  ${PROJECT_SOURCE_DIR}/site/s-default.cfg
  ${PROJECT_SOURCE_DIR}/site/c-header.html
  ${PROJECT_SOURCE_DIR}/site/c-footer.html
  DESTINATION ${KS_INSTALL_SHARE_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/site/html/ DESTINATION ${KS_INSTALL_SHARE_DIR}/html)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/contrib/systemd/ DESTINATION ${KS_INSTALL_SHARE_DIR}/systemd)
