#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Quillmark and starts it. Arguments go to the program.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup-debian.sh"
"$here/scripts/build.sh" release
exec "$here/build/release/app/quillmark" "$@"
