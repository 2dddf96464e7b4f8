#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: test-server.sh start|stop|restart|freeze|thaw|tls|promote DIR PORT,
# or test-server.sh standby DIR PORT PRIMARY_PORT
#   start    makes a new cluster in DIR (emptied first) and starts it on 127.0.0.1:PORT with its socket in DIR;
#   stop     stops it (fast shutdown) and removes DIR, thawing it first;
#   restart  stops it and starts it again, keeping its data;
#   freeze   stops the server's processes (SIGSTOP): a server that takes connections and answers nothing;
#   thaw     lets them run on (SIGCONT);
#   tls      turns TLS on with a certificate made for 127.0.0.1 (DIR/server.crt, its own issuer) and restarts;
#            DIR/other.crt is a certificate of no relation to it, for a client trusting the wrong issuer;
#   standby  makes DIR a streaming standby of the server running on 127.0.0.1:PRIMARY_PORT (pg_basebackup -R, so
#            it follows the primary's WAL) and starts it on PORT, taking only reads;
#   promote  makes the standby in DIR a primary that takes writes (after its primary stopped), waiting until it does.
# The server refuses to run as root, so under root it runs as the user postgres (or nobody) owning DIR.
# Every local connection is trusted except those of the members of the role osago_passworded, which must give
# their passwords, so the tests can see a wrong password refused.
set -euo pipefail

command=${1:?start, stop, restart, freeze, thaw, tls, standby or promote}
dir=${2:?folder of the server}
port=${3:?port}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
if [ -z "$bin" ]; then
    echo "PostgreSQL is not installed: run scripts/setup.sh as root" >&2
    exit 1
fi

as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$owner" -- "$@"
    else
        "$@"
    fi
}

owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    owner=nobody
    getent passwd postgres >/dev/null && owner=postgres
fi

start_server() {
    as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w -t 30 \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
}

# The postmaster and the processes it started, by their ids.
signal_server() {
    local postmaster
    postmaster=$(head -n1 "$dir/data/postmaster.pid" 2>/dev/null) || return 0
    [ -n "$postmaster" ] || return 0
    # shellcheck disable=SC2046
    kill "-$1" "$postmaster" $(pgrep -P "$postmaster") 2>/dev/null || true
}

stop_server() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        signal_server CONT
        as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null || true
    fi
}

case "$command" in
start)
    stop_server
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown "$owner" "$dir"
    as_server "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    {
        echo "local all +osago_passworded scram-sha-256"
        echo "host all +osago_passworded 127.0.0.1/32 scram-sha-256"
        echo "local all all trust"
        echo "host all all 127.0.0.1/32 trust"
        echo "host replication all 127.0.0.1/32 trust"
    } | as_server tee "$dir/data/pg_hba.conf" >/dev/null
    start_server
    ;;
stop)
    stop_server
    rm -rf "$dir"
    ;;
restart)
    stop_server
    start_server
    ;;
freeze)
    signal_server STOP
    ;;
thaw)
    signal_server CONT
    ;;
tls)
    for name in server other; do
        openssl req -new -x509 -days 2 -nodes -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
            -keyout "$dir/$name.key" -out "$dir/$name.crt" 2>/dev/null
    done
    chmod 600 "$dir/server.key"
    [ "$(id -u)" -eq 0 ] && chown "$owner" "$dir/server.key" "$dir/server.crt"
    printf "ssl = on\nssl_cert_file = '%s'\nssl_key_file = '%s'\n" "$dir/server.crt" "$dir/server.key" \
        | as_server tee -a "$dir/data/postgresql.conf" >/dev/null
    stop_server
    start_server
    ;;
standby)
    primary_port=${4:?port of the primary}
    stop_server
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown "$owner" "$dir"
    as_server "$bin/pg_basebackup" -h 127.0.0.1 -p "$primary_port" -U postgres -D "$dir/data" -R -X stream \
        >"$dir/basebackup.log" 2>&1
    start_server
    ;;
promote)
    as_server "$bin/pg_ctl" -D "$dir/data" -w -t 30 promote >/dev/null
    ;;
*)
    echo "unknown command $command: start, stop, restart, freeze, thaw, tls, standby or promote" >&2
    exit 2
    ;;
esac
