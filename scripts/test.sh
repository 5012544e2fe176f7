#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the sanitizer build and runs the whole suite headless.
# Extra arguments go to ctest (for example -R Logger).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup-debian.sh"
"$here/scripts/build.sh" test

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"

cd "$here/build/test"
# Tests that need X11 get a virtual display; the rest run on the offscreen platform.
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$(nproc)" "$@"
