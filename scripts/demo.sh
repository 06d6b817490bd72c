#!/usr/bin/env bash
# The demo command: installs what is missing, builds, creates the demo company database
# (a SQLite file) when there is none, and starts the demo host on it.
#   scripts/demo.sh [DATABASE]   (default: demo/company.db; a postgresql:// URI also works)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZELKOR_BUILD_DIR:-$root/build}
database=${1:-$root/demo/company.db}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

if [[ "$database" != postgres* && ! -f "$database" ]]; then
  mkdir -p "$(dirname "$database")"
  "$build/schema/zelkor_create_db" --demo "$database"
fi

if [ -x "$build/host/zelkor_po_host" ]; then
  exec "$build/host/zelkor_po_host" --db "$database"
fi
echo "The demo company database is ready: $database"
