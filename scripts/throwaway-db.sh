#!/bin/sh
# A throwaway MariaDB server for tests and demos: its own data folder, on
# 127.0.0.1 only, on a free port; no system service is touched.
#
#   scripts/throwaway-db.sh start DIR   starts it (creating DIR), prints the port
#   scripts/throwaway-db.sh stop DIR    stops it by its pid and removes DIR
#
# Clients reach it with: mysql -h 127.0.0.1 -P PORT -u root (no password),
# or with MYSQL_TCP_PORT=PORT in the environment. $KS_DB_OPTIONS, when set,
# are further server options (the benchmarks give it a larger buffer pool).
set -eu
action=${1:-}
dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }

free_port() {
  # Ask the kernel for a free port by binding port 0.
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' 2>/dev/null ||
    echo $((20000 + $$ % 20000))
}

case "$action" in
start)
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  user=$(id -un)
  mariadb-install-db --no-defaults --user="$user" --datadir="$dir/data" \
    --auth-root-authentication-method=normal --skip-test-db > "$dir/install.log" 2>&1
  port=$(free_port)
  mariadbd --no-defaults --user="$user" --datadir="$dir/data" --bind-address=127.0.0.1 \
    --port="$port" --socket="$dir/mysqld.sock" --pid-file="$dir/mysqld.pid" \
    --skip-name-resolve --log-error="$dir/error.log" ${KS_DB_OPTIONS:-} > /dev/null 2>&1 &
  echo "$port" > "$dir/port"
  # Wait until it answers (about a second).
  i=0
  until mariadb --no-defaults -h 127.0.0.1 -P "$port" -u root -e "select 1" > /dev/null 2>&1; do
    i=$((i + 1))
    if [ "$i" -gt 100 ]; then
      echo "MariaDB did not start; see $dir/error.log" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo "$port"
  ;;
stop)
  if [ -f "$dir/mysqld.pid" ]; then
    pid=$(cat "$dir/mysqld.pid")
    kill "$pid" 2> /dev/null || true
    i=0
    while kill -0 "$pid" 2> /dev/null && [ "$i" -lt 100 ]; do
      sleep 0.1
      i=$((i + 1))
    done
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
