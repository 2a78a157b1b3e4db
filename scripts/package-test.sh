#!/bin/sh
# Builds the Debian packages from a complete build folder (cpack) and checks
# them as an admin gets them: the file lists, the declared dependencies (no
# Qt for a headless server), the maintainer scripts creating the service
# user and enabling nothing, lintian where it is installed (errors fail,
# warnings are shown), and the unpacked programs running a season on the
# samples against a throwaway MariaDB with the database account that
# kestrostats-setup prints.
#
#   scripts/package-test.sh [BUILD_DIR]     (default: build)
set -eu
cd "$(dirname "$0")/.."
top=$(pwd)
build=$(cd "${1:-build}" && pwd)
scratch=$(mktemp -d)
db_started=""
cleanup() {
  if [ -n "$db_started" ]; then sh "$top/scripts/throwaway-db.sh" stop "$scratch/db" || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "package test: FAIL: $*" >&2
  exit 1
}

echo "package test: building the packages"
rm -rf "$build/packages"
if ! (cd "$build" && cpack --config CPackConfig.cmake > "$scratch/cpack.log" 2>&1); then
  cat "$scratch/cpack.log" >&2
  fail "cpack could not build the packages"
fi
server=$(ls "$build"/packages/kestrostats_*.deb)
dialog=$(ls "$build"/packages/kestrostats-cvarsmith_*.deb)

# The file lists.
files() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's#^\./#/#'; }
files "$server" > "$scratch/server.files"
files "$dialog" > "$scratch/dialog.files"
for f in /usr/bin/kestrostats-c /usr/bin/kestrostats-s /usr/bin/ks-preparse /usr/bin/TagSift \
  /usr/bin/kestrostats-site /usr/bin/kestrostats-setup \
  /usr/share/kestrostats/s-default.cfg /usr/share/kestrostats/c-default.cfg \
  /usr/share/kestrostats/c-header.html /usr/share/kestrostats/c-footer.html \
  /usr/share/kestrostats/html/c-kestro.css /usr/share/kestrostats/html/images/maps/default.gif \
  /usr/lib/systemd/system/kestrostats-season.service /usr/lib/systemd/system/kestrostats-season.timer \
  /usr/lib/sysusers.d/kestrostats.conf /usr/share/doc/kestrostats/copyright \
  /usr/share/doc/kestrostats/changelog.Debian.gz; do
  grep -qx "$f" "$scratch/server.files" || fail "kestrostats lacks $f"
done
grep -qx /usr/bin/Cvarsmith "$scratch/dialog.files" || fail "kestrostats-cvarsmith lacks /usr/bin/Cvarsmith"
grep -q Cvarsmith "$scratch/server.files" && fail "kestrostats ships the dialog"
[ "$(grep -c '^/usr/bin/.' "$scratch/dialog.files")" -eq 1 ] || fail "kestrostats-cvarsmith ships other programs"
# Installed, not enabled: nothing in /etc (no wants/ links), nothing in /srv or /home.
grep -Eq '^/(etc|srv|home)/' "$scratch/server.files" "$scratch/dialog.files" &&
  fail "a package ships files in /etc, /srv or /home"

# The declared dependencies.
deps=$(dpkg-deb -f "$server" Depends)
for d in libmariadb3 libzip4 mariadb-client adduser libstdc++6; do
  echo "$deps" | grep -q "$d" || fail "kestrostats does not depend on $d: $deps"
done
echo "$deps" | grep -qi qt && fail "kestrostats pulls Qt: $deps"
dialog_deps=$(dpkg-deb -f "$dialog" Depends)
echo "$dialog_deps" | grep -q libqt6widgets6 || fail "kestrostats-cvarsmith does not depend on Qt Widgets: $dialog_deps"
echo "$dialog_deps" | grep -q libmariadb && fail "kestrostats-cvarsmith pulls the database library"

# The maintainer scripts: the user is created (systemd-sysusers, else
# adduser), nothing is enabled or started. Run with stand-ins for the system
# commands, which record what they were asked.
dpkg-deb -e "$server" "$scratch/control"
for script in postinst postrm; do sh -n "$scratch/control/$script" || fail "$script is not valid sh"; done
grep -Eq 'systemctl (--system )?(enable|start|restart)' "$scratch/control/postinst" && fail "postinst enables or starts a unit"
mkdir -p "$scratch/stubs"
for cmd in systemd-sysusers adduser systemctl; do
  printf '#!/bin/sh\necho "%s $*" >> "%s/calls"\n' "$cmd" "$scratch" > "$scratch/stubs/$cmd"
done
printf '#!/bin/sh\nexit 2\n' > "$scratch/stubs/getent"
chmod +x "$scratch/stubs/"*
PATH="$scratch/stubs" /bin/sh "$scratch/control/postinst" configure || fail "postinst configure failed"
grep -qx "systemd-sysusers kestrostats.conf" "$scratch/calls" || fail "postinst did not run systemd-sysusers"
rm "$scratch/stubs/systemd-sysusers" "$scratch/calls"
PATH="$scratch/stubs" /bin/sh "$scratch/control/postinst" configure || fail "postinst configure without systemd failed"
grep -q "^adduser --system --group .* kestrostats$" "$scratch/calls" || fail "postinst did not fall back to adduser"

dpkg-deb -x "$server" "$scratch/root"
if command -v systemd-sysusers > /dev/null 2>&1; then
  mkdir -p "$scratch/sysroot/etc"
  systemd-sysusers --root="$scratch/sysroot" "$scratch/root/usr/lib/sysusers.d/kestrostats.conf" > /dev/null 2>&1 ||
    fail "systemd-sysusers refused the package's entry"
  grep -q '^kestrostats:' "$scratch/sysroot/etc/passwd" || fail "the sysusers entry does not create kestrostats"
fi

# lintian: errors fail, the rest is shown.
if command -v lintian > /dev/null 2>&1; then
  lintian "$server" "$dialog" > "$scratch/lintian.out" 2>&1 || true
  grep -E '^[EWI]:' "$scratch/lintian.out" || true
  if grep -q '^E:' "$scratch/lintian.out"; then fail "lintian reports errors"; fi
else
  echo "package test: lintian not installed, skipped"
fi

# A season with the unpacked programs: set-up, the account it prints, the
# samples.
work="$scratch/work"
"$scratch/root/usr/bin/kestrostats-setup" "$work" > "$scratch/setup.out" 2> "$scratch/setup.err" ||
  { cat "$scratch/setup.err" >&2; fail "kestrostats-setup failed"; }
[ "$(readlink "$work/kestrostats-s")" = "$scratch/root/usr/bin/kestrostats-s" ] ||
  fail "the working directory does not link to the unpacked kestrostats-s"
[ "$(stat -c %a "$work/s-default.cfg")" = 600 ] || fail "s-default.cfg is not the owner's only"
grep -E '^ +(CREATE USER|GRANT) ' "$scratch/setup.out" | sed 's/^ *//; s/IDENTIFIED BY .PASSWORD./IDENTIFIED BY '"'pkg-test-Pw1'"'/' \
  > "$scratch/account.sql"
[ "$(wc -l < "$scratch/account.sql")" -eq 2 ] || { cat "$scratch/setup.out"; fail "set-up printed no account statements"; }
port=$(sh scripts/throwaway-db.sh start "$scratch/db")
db_started=yes
mariadb --no-defaults -h 127.0.0.1 -P "$port" -u root < "$scratch/account.sql" || fail "the account statements failed"
# The password; the samples are finished logs, not a server's live log.
sed -i '/^db_pass:$/{n;s/.*/pkg-test-Pw1/}; /^realtime_log:$/{n;s/.*/no/}' "$work/s-default.cfg"
cp samples/*.log "$work/"
if ! (cd "$work" && MYSQL_TCP_PORT=$port timeout 300 ./kestrostats-s ffa-chat.log warmup.log ctf-osp.log \
  > "$scratch/season.out" 2> "$scratch/season.err" < /dev/null); then
  tail -n 20 "$scratch/season.out" "$scratch/season.err" >&2
  fail "the season run failed"
fi
players=$(mariadb --no-defaults -h 127.0.0.1 -P "$port" -u kestrostats -ppkg-test-Pw1 -N \
  -e "select count(*) from kestrostats.playerstats")
[ "$players" -gt 0 ] || fail "the season counted no player"
[ -f "$work/html/season/index.html" ] || fail "the season wrote no site"
ls "$work"/html/kestrostats_*_main.html > /dev/null 2>&1 || fail "the season wrote no game page"
echo "package test: passed ($(basename "$server"), $(basename "$dialog"); $players players in the season)"
