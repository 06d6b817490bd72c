#!/usr/bin/env bash
# Sourced by the test script: starts a throwaway PostgreSQL server on 127.0.0.1 at a free port
# and exports ZELKOR_TEST_PG; pg_throwaway_stop removes it again (call it from a trap).
# The server speaks SSL with a self-signed certificate ($PG_DATA/server.crt, valid for 127.0.0.1
# and localhost) and trusts every user but the members of the role zelkor_password_login, who
# must give their password: the tests of connecting without a password in the URI log in as such
# members, with the certificate as their root certificate.
PGBIN=${PGBIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)}

pg_throwaway_start() {
  PG_DATA=$(mktemp -d /tmp/zelkor-pg.XXXXXX)
  PG_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])' 2>/dev/null \
            || echo $((50000 + RANDOM % 10000)))
  local run=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres:postgres "$PG_DATA"
    run=(runuser -u postgres --)
  fi
  chmod 700 "$PG_DATA"
  "${run[@]}" "$PGBIN/initdb" -D "$PG_DATA" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$PG_DATA.initdb.log" 2>&1 \
    || { cat "$PG_DATA.initdb.log"; return 1; }
  # An elliptic-curve key: every connection of the suite makes its handshake with it.
  "${run[@]}" openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 3650 \
    -subj /CN=localhost -addext subjectAltName=IP:127.0.0.1,DNS:localhost \
    -keyout "$PG_DATA/server.key" -out "$PG_DATA/server.crt" >"$PG_DATA.openssl.log" 2>&1 \
    || { cat "$PG_DATA.openssl.log"; return 1; }
  "${run[@]}" chmod 600 "$PG_DATA/server.key"
  "${run[@]}" tee "$PG_DATA/pg_hba.conf" >/dev/null <<'HBA'
local all all                               trust
host  all +zelkor_password_login 127.0.0.1/32 scram-sha-256
host  all +zelkor_password_login ::1/128      scram-sha-256
host  all all                    127.0.0.1/32 trust
host  all all                    ::1/128      trust
HBA
  "${run[@]}" "$PGBIN/pg_ctl" -D "$PG_DATA" -l "$PG_DATA/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $PG_PORT -k $PG_DATA -c max_connections=200 -c fsync=off \
        -c ssl=on -c ssl_cert_file=$PG_DATA/server.crt -c ssl_key_file=$PG_DATA/server.key" start >/dev/null \
    || { cat "$PG_DATA/server.log"; return 1; }
  "${run[@]}" "$PGBIN/psql" -h "$PG_DATA" -p "$PG_PORT" -U postgres -d postgres -q -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE zelkor_password_login NOLOGIN" >/dev/null \
    || { cat "$PG_DATA/server.log"; return 1; }
  export ZELKOR_TEST_PG="postgresql://postgres@127.0.0.1:$PG_PORT/postgres"
  echo "throwaway PostgreSQL on 127.0.0.1:$PG_PORT"
}

pg_throwaway_stop() {
  [ -n "${PG_DATA:-}" ] || return 0
  local run=()
  [ "$(id -u)" -eq 0 ] && run=(runuser -u postgres --)
  "${run[@]}" "$PGBIN/pg_ctl" -D "$PG_DATA" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$PG_DATA" "$PG_DATA.initdb.log" "$PG_DATA.openssl.log"
  PG_DATA=
}
