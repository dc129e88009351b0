#!/usr/bin/env bash
# Runs session.mjs against the launcher with the client library installed from npm into a work folder.
# Exits 77 (skipped) where node, npm or the registry is not available.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$1"
launcher="$2"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "skipped: node and npm are needed for the client library session"
  exit 77
fi
mkdir -p "$work"
cp "$here/package.json" "$here/package-lock.json" "$here/session.mjs" "$work/"
cd "$work"
if [ ! -d node_modules ] && ! npm ci --silent --no-audit --no-fund >npm.log 2>&1; then
  echo "skipped: the client library could not be installed from npm (see $work/npm.log)"
  exit 77
fi
exec node session.mjs "$launcher"
