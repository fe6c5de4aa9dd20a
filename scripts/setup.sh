#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds, and then either starts the
# program against the built-in simulated ECU ("demo") or runs every test
# under AddressSanitizer and UndefinedBehaviorSanitizer ("test").
set -euo pipefail

mode=${1:-}
case "$mode" in
  demo|test) ;;
  *) echo "usage: $0 demo|test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

packages=(cmake make g++ pkg-config qt6-base-dev libqt6serialport6-dev libgl-dev libjpeg-dev
          libgtest-dev libgmock-dev)
[ "$mode" = demo ] && packages+=(qt6-qpa-plugins fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)

if [ "$mode" = test ]; then
  build="$top/build/test"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUOREL_SANITIZE=ON -DQUOREL_TESTS=ON
  cmake --build "$build" -j "$jobs"
  cd "$build"
  export QT_QPA_PLATFORM=offscreen
  ctest --output-on-failure --timeout 300
else
  build="$top/build/release"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUOREL_TESTS=OFF
  cmake --build "$build" -j "$jobs" --target QuorelGAS QuorelSim
  # The program folder is the working folder: the demo gets one of its own.
  work="$top/build/demo-work"
  mkdir -p "$work"
  for f in "$top"/data/*; do [ -e "$f" ] && cp -n "$f" "$work/"; done
  cd "$work"
  exec "$build/QuorelGAS" --demo
fi
