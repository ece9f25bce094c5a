#!/usr/bin/env bash
# Runs scripts/server into a temporary folder on a free port of this host's loopback network,
# connects with the line it prints and the password it keeps, checks that no login goes without the
# right password, runs it again (the same line), exports the empty book through the printed line
# with the program, and stops and removes the cluster. Exit 77 (skipped) without the server programs.
#
#   tst_server_script.sh SCRIPT [PROGRAM]
set -euo pipefail
script=$1 program=${2:-}
ls -d /usr/lib/postgresql/*/bin >/dev/null 2>&1 || { echo "SKIP  : no PostgreSQL server programs"; exit 77; }
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)

tmp=$(mktemp -d)
chmod 755 "$tmp" # run as root, the cluster belongs to postgres, who must reach its folder
dir=$tmp/server
as=()
[ "$(id -u)" -ne 0 ] || as=(runuser -u postgres --)
stop() {
    [ -f "$dir/data/postmaster.pid" ] && "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap stop EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$dir/server.log" ] && tail -n 20 "$dir/server.log" >&2; exit 1; }

port=$(python3 -c "import socket; s=socket.socket(); s.bind(('127.0.0.1', 0)); print(s.getsockname()[1])")
out=$("$script" --dir "$dir" --port "$port" --db shopbook --user seat --network 127.0.0.0/8) || fail "scripts/server failed: $out"
echo "$out"
line=$(echo "$out" | grep -o 'postgresql://[^ ]*' | head -n 1)
[ "$line" = "postgresql://seat@127.0.0.1:$port/shopbook" ] || fail "unexpected line: $line"

grep -qw trust "$dir/data/pg_hba.conf" && fail "pg_hba.conf lets someone in without a password"
grep -q "^listen_addresses = 'localhost'$" "$dir/data/postgresql.conf" || fail "listens beyond the host's networks"
[ "$(stat -c %a "$dir/seat.pass")" = 600 ] || fail "the seat's password file is readable by others"

pgpass=$tmp/pgpass
printf '127.0.0.1:%s:shopbook:seat:%s\n' "$port" "$(cat "$dir/seat.pass")" >"$pgpass"
chmod 600 "$pgpass"
[ "$(PGPASSFILE=$pgpass psql "$line" -w -qtA -c 'SELECT current_user')" = seat ] || fail "the printed line does not connect"
PGPASSFILE=/dev/null PGPASSWORD=wrong psql "$line" -w -qtA -c 'SELECT 1' >/dev/null 2>&1 && fail "a wrong password got in"
PGPASSFILE=/dev/null psql "$line" -w -qtA -c 'SELECT 1' >/dev/null 2>&1 && fail "no password got in"

again=$("$script" --dir "$dir" --port "$port" --db shopbook --user seat --network 127.0.0.0/8) || fail "second run failed"
echo "$again" | grep -qF "$line" || fail "the second run printed another line"

if [ -n "$program" ]; then
    PGPASSFILE=$pgpass QT_QPA_PLATFORM=offscreen "$program" --data-folder "$tmp/own" --export-book "$tmp/out" \
        --book "$line" || fail "the program could not export through the printed line"
    [ -f "$tmp/out/a-_0.gif" ] || fail "the export made no book"
fi
echo "PASS"
