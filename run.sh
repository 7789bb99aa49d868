#!/usr/bin/env bash
# Installs what is missing, builds the game in build/ and starts it. It stays in the folder it
# was started in, so files named on the command line are taken from there; the game finds its
# own folder, build/game, beside itself.
set -euo pipefail
root=$(dirname -- "$(readlink -f -- "$0")")
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
# The build says nothing unless it fails (a headless run's summary is the only line on standard
# output); the first one takes minutes, so that much is said.
log="$root/build/run-build.log"
[ -x "$root/build/game/korvelin" ] || echo "Building the game in $root/build (a few minutes the first time)" >&2
if ! cmake --build "$root/build" -j"$(nproc)" --target game >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "run.sh: the build failed; the whole log is $log" >&2
  exit 1
fi
exec "$root/build/game/korvelin" "$@"
