#!/usr/bin/env bash
# Configures (once) and builds one build tree. Usage: scripts/build.sh release|test
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:-release}"

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/quillmark-ccache}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
# Paths relative to the checkout, so that clones and work trees share one cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
common=(-G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

case "$kind" in
  release)
    dir="$here/build/release"
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_TESTS=OFF) ;;
  test)
    dir="$here/build/test"
    flags=(-DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_SANITIZE=ON -DQUILLMARK_FUZZ=ON -DQUILLMARK_TESTS=ON
           -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g") ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac

if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$here" -B "$dir" "${common[@]}" "${flags[@]}"
fi
cmake --build "$dir" -j "$(nproc)"
