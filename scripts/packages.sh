# Debian packages the project needs, sourced by the demo and test scripts.
# shellcheck shell=sh
BUILD_PACKAGES="cmake g++ make ninja-build qt6-base-dev libmariadb-dev libzip-dev"
TEST_PACKAGES="$BUILD_PACKAGES libgtest-dev libgmock-dev nlohmann-json3-dev mariadb-server mariadb-client python3 chromium fonts-dejavu-core time util-linux dpkg-dev file lintian systemd"
