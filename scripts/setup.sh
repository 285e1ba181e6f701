#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Ordalvex, then either starts the editor on the
# bundled sample program ("run") or runs every test ("test").
#   scripts/setup.sh run    build and start the editor
#   scripts/setup.sh test   build and run the whole test suite through CTest
set -euo pipefail
mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORDALVEX_BUILD_DIR:-$top/build}

# Packages the build, the tests and the packaging checks need (see README for why each).
packages=(cmake ninja-build g++ qt6-base-dev libqscintilla2-qt6-dev qt6-translations-l10n libgl-dev libbenchmark-dev
          clang libclang-rt-14-dev dpkg-dev file desktop-file-utils appstream shared-mime-info
          libxml2-utils fonts-liberation)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORDALVEX_WERROR=ON
cmake --build "$build" -j"$(nproc)"

case "$mode" in
  run)
    exec "$build/src/app/ordalvex" "$top/examples/O0010.nc"
    ;;
  test)
    ctest --test-dir "$build" -j"$(nproc)" --output-on-failure
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
