# Shared by scripts/run, scripts/test and scripts/bench: the project root,
# and installing whatever Debian packages are missing.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Packages every build needs.
base_packages=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-ttf-dev
  libfontconfig-dev fonts-nanum)
# evilwm: the window manager of the wine end-to-end display (wine waits for
# one on every show and hide of a window).
# xauth: xvfb-run needs it (xvfb only recommends it).
test_packages=(googletest libgtest-dev xvfb xauth xdotool imagemagick x11-utils
  evilwm)
bench_packages=(libbenchmark-dev)
windows_packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 wine)
# (wine: the wine, wineboot and wineserver commands; wine64 only recommends it)

# install_missing PACKAGE... : apt-get install only what is not installed.
install_missing() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
      grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"
}

# Parallel jobs: the machines have two cores.
jobs="$(nproc 2>/dev/null || echo 2)"
