#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, and
# only those that are missing. Sourced by test.sh and run.sh.
BRINDLE_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  xvfb xauth xdotool imagemagick x11-utils
  clang-14 libclang-rt-14-dev
  zlib1g-dev
  qt6-translations-l10n
  openbox
  tiled
)

brindle_install_missing() {
  local missing=()
  for p in "${BRINDLE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

brindle_build() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}
