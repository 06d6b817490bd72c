#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs the whole suite on SQLite and on
# a throwaway PostgreSQL server started here (stopped and removed at the end, even on failure).
# Extra arguments go to ctest (e.g. -R decimal, -L sqlite).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZELKOR_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/zelkor-xdg.XXXXXX)}
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

source "$root/scripts/pg-throwaway.sh"
trap pg_throwaway_stop EXIT
pg_throwaway_start

cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300 "$@"
