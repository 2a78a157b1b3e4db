# Debian packages from the install rules (cmake/install.cmake):
#
#   cpack --config build/CPackConfig.cmake    (or: cmake --build build --target package)
#
# gives build/packages/kestrostats_<version>_<arch>.deb (the programs, site
# files, default configurations, systemd units and the service user) and
# kestrostats-cvarsmith_<version>_<arch>.deb (the dialog, the only one that
# needs Qt). The libraries' packages are found by dpkg-shlibdeps; the mysql
# client, which kestrostats-s starts, is declared by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrostats)
set(CPACK_PACKAGE_VERSION 4.32)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT "kestro stats maintainers <maintainers@users.noreply.c-seed-22ca7346.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# utils: the section "games" is for games themselves (binaries in /usr/games).
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_KESTROSTATS_PACKAGE_NAME kestrostats)
set(CPACK_DEBIAN_KESTROSTATS_PACKAGE_DEPENDS "mariadb-client | default-mysql-client, adduser")
set(CPACK_DEBIAN_KESTROSTATS_PACKAGE_SUGGESTS "mariadb-server, kestrostats-cvarsmith")
set(CPACK_DEBIAN_KESTROSTATS_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/contrib/debian/postinst ${PROJECT_SOURCE_DIR}/contrib/debian/postrm)
set(CPACK_DEBIAN_KESTROSTATS_DESCRIPTION
   "statistics for Quake III Arena OSP servers
Reports of every finished game from a console or dedicated server log
(kestrostats-c), a season in a MariaDB database with clan statistics,
rotating game pages and a static season site (kestrostats-s,
kestrostats-site), the log converter ks-preparse, TagSift for clan tags and
kestrostats-setup, which prepares a season working directory. A systemd
timer runs a season every five minutes as the user kestrostats; it is
installed, not enabled.")

set(CPACK_DEBIAN_CVARSMITH_PACKAGE_NAME kestrostats-cvarsmith)
set(CPACK_DEBIAN_CVARSMITH_DESCRIPTION
   "server variable editor for Quake III Arena OSP servers
Cvarsmith edits the OSP server variables, writes and reads server .cfg
files and starts the server: a Qt dialog, or headless from the command
line.")

# Every variable above is written into CPackConfig.cmake here.
include(CPack)

cpack_add_component_group(kestrostats)
cpack_add_component_group(cvarsmith)
cpack_add_component(server GROUP kestrostats)
cpack_add_component(system GROUP kestrostats)
cpack_add_component(cvarsmith GROUP cvarsmith)
cpack_add_component(cvarsmith-system GROUP cvarsmith)
