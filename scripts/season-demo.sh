#!/bin/sh
# Runs a season over the bundled sample logs: player totals in a database,
# clan statistics, a rotating set of game pages (in demo-season/html/) and
# the season site (demo-season/html/season/index.html, printed at the end).
#
# With no database configured it starts a throwaway MariaDB server of its
# own (its own data folder, 127.0.0.1 only) and stops it at the end. To use
# your own server instead, set KS_DB_HOST, KS_DB_NAME, KS_DB_USER and
# KS_DB_PASS.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
# shellcheck disable=SC2086
sh scripts/ensure-packages.sh $BUILD_PACKAGES mariadb-server mariadb-client

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

rm -rf demo-season
mkdir -p demo-season/html
cp build/bin/* demo-season/
cp site/c-default.cfg site/c-header.html site/c-footer.html demo-season/
cp -r site/html/. demo-season/html/
cp samples/*.log demo-season/

db_dir=""
if [ -z "${KS_DB_HOST:-}" ]; then
  db_dir=$(mktemp -d)
  echo "Starting a throwaway MariaDB server..."
  MYSQL_TCP_PORT=$(sh scripts/throwaway-db.sh start "$db_dir/db")
  export MYSQL_TCP_PORT
  trap 'sh scripts/throwaway-db.sh stop "$db_dir/db"; rm -rf "$db_dir"' EXIT
fi

cat > demo-season/s-default.cfg <<CFG
db_host:
${KS_DB_HOST:-127.0.0.1}
db_name:
${KS_DB_NAME:-kestro_demo}
db_user:
${KS_DB_USER:-root}
db_pass:
${KS_DB_PASS:-}
no_of_game_stats:
5
detect_clan_tag:
yes
process_clan_tag_add:
yes
site_min_games:
1
CFG
printf '|X|\n[NX]\n' > demo-season/tags_add.txt

(cd demo-season && ./kestrostats-s ffa-chat.log warmup.log ctf-osp.log < /dev/null)

query() {
  mysql -h "${KS_DB_HOST:-127.0.0.1}" -u "${KS_DB_USER:-root}" ${KS_DB_PASS:+-p"$KS_DB_PASS"} \
    -t -e "use ${KS_DB_NAME:-kestro_demo}; $1"
}
echo
echo "Season table, best first:"
query "select name, games, frags, kills, deaths, round(skill, 2) skill from playerstats order by skill desc;"
echo "Clans:"
query "select tag, round(stat, 2) stat from clanstats;"
echo "Game pages kept (in $(pwd)/demo-season/html/):"
query "select slot, html from gamestats order by slot;"
# The season site: kestrostats-s writes it after a successful run when
# make_season_site: is yes (the default); write it here when it did not.
if [ ! -f demo-season/html/season/index.html ]; then
  (cd demo-season && ./kestrostats-site < /dev/null)
fi
echo "Season site: $(pwd)/demo-season/html/season/index.html"
