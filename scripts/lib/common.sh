# Shared by the scripts: the project root, installing whatever Debian
# packages are missing, and the stage headings of long runs.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Packages every build needs.
base_packages=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-ttf-dev
  libfontconfig-dev fonts-nanum)
# evilwm: the window manager of the wine displays (wine waits for one on
# every show and hide of a window).
# xauth: xvfb-run needs it (xvfb only recommends it).
# x11-utils: xdpyinfo and xprop, which tell that the display and the window
# manager are up.
# desktop-file-utils, appstream: the validators of what a package installs;
# python3: redraws the icon to check that the committed one is current.
test_packages=(googletest libgtest-dev xvfb xauth xdotool imagemagick x11-utils
  evilwm desktop-file-utils appstream python3)
bench_packages=(libbenchmark-dev)
# dpkg-dev: dpkg-shlibdeps, which computes the .deb's dependencies; CPack
# finds the binaries to ask it about with file.
package_packages=(dpkg-dev file)
# The browser build: emscripten (with its node), the font the page packs,
# and python3 to serve it; dpkg-dev, xz-utils and patch unpack the source
# packages its libraries are built from.
web_packages=(cmake ninja-build fonts-nanum python3 emscripten dpkg-dev xz-utils
  patch)
# The browser tests: Chromium driven through chromedriver by Selenium.
web_test_packages=(chromium chromium-driver python3-selenium)
# wine: the wine, wineboot and wineserver commands (wine64 only recommends
# it). wine32:i386 runs the shipped 32-bit program; the i386 X libraries are
# what its X driver loads (libwine:i386 only recommends them).
windows_packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 wine wine32:i386
  libxcomposite1:i386 libxcursor1:i386 libxfixes3:i386 libxi6:i386
  libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxxf86vm1:i386)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# install_missing PACKAGE... : apt-get install only what is not installed.
# A PACKAGE:i386 first enables the i386 architecture.
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
  if [[ " ${missing[*]}" == *:i386* ]] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # Another apt may be at work (an unattended upgrade): wait for its lock.
  local apt=(apt-get -o DPkg::Lock::Timeout=600 -qq)
  as_root "${apt[@]}" update
  as_root env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y \
    --no-install-recommends "${missing[@]}"
}

# stage TITLE: a heading, with the time the previous stage took.
stage_started=
stage_title=
stage() {
  if [ -n "$stage_title" ]; then
    printf '==== %s: %d s\n' "$stage_title" $((SECONDS - stage_started))
  fi
  stage_title=$*
  stage_started=$SECONDS
  [ -n "$stage_title" ] && printf '\n==== %s ====\n' "$stage_title"
  return 0
}

# Parallel jobs: the machines have two cores.
jobs="$(nproc 2>/dev/null || echo 2)"
