#!/usr/bin/env bash
# The PostgreSQL server of the register benchmarks (BENCHMARKS.md, "Register on a server"): the packaged
# defaults (fsync and synchronous commit on, 128 MB of shared buffers), as a desktop running its own server
# would have them, listening on 127.0.0.1:PORT and a socket in DIR.
#   bench-server.sh start DIR PORT   makes the cluster in DIR when there is none, and starts it
#   bench-server.sh stop DIR         stops it (fast shutdown), keeping its data
# The server refuses to run as root, so under root it runs as the user postgres owning DIR.
set -euo pipefail

command=${1:?start or stop}
dir=${2:?folder of the server}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
[ -n "$bin" ] || { echo "PostgreSQL is not installed: run scripts/setup.sh as root" >&2; exit 1; }

as_server() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$command" in
start)
    port=${3:?port}
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        mkdir -p "$dir"
        [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
        as_server "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    fi
    as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w -t 60 \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1" start >/dev/null
    ;;
stop)
    as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 60 stop >/dev/null
    ;;
*)
    echo "unknown command $command: start or stop" >&2
    exit 2
    ;;
esac
