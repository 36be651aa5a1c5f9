# The libraries the browser build links, built once for WebAssembly with
# Debian's emscripten: SDL2, freetype and SDL2_ttf, from Debian's own source
# packages (emscripten's own ports would be downloaded, and nothing but the
# Debian mirror can be reached). Static, with -pthread. Uses common.sh.
#
# build_web_deps PREFIX: installs into PREFIX (lib/, include/, lib/cmake/);
# does nothing when PREFIX holds the stamp of a finished build. About three
# minutes, most of it SDL2's configure (every check is a full emcc link).
#
# build_web_page: the libraries (in build/web-deps), then the page, with
# the web preset (build/web/page).

# emcc's JavaScript passes need acorn, which Debian keeps here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# emcc runs "${EMSDK_PYTHON:-python3}": Debian's own, not one earlier on PATH.
export EMSDK_PYTHON=${EMSDK_PYTHON:-/usr/bin/python3}

web_deps_debsrc=/etc/apt/sources.list.d/zz-taverell-deb-src.sources

# A deb-src entry for the host's own Debian sources (the same mirror, suites
# and keyring, so apt sees no conflicting Signed-By); only its indices are
# fetched.
web_deps_add_sources() {
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      as_root tee "$web_deps_debsrc" >/dev/null
  else
    web_deps_debsrc=${web_deps_debsrc%.sources}.list
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | while read -r _ rest; do
      if [[ "$rest" == \[* ]]; then
        echo "deb-src $rest"
      else
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $rest"
      fi
    done | as_root tee "$web_deps_debsrc" >/dev/null
  fi
  as_root apt-get -o DPkg::Lock::Timeout=600 -qq update \
    -o Dir::Etc::sourcelist="$web_deps_debsrc" -o Dir::Etc::sourceparts=- \
    -o APT::Get::List-Cleanup=0
}

web_deps_remove_sources() { as_root rm -f "$web_deps_debsrc"; }

build_web_deps() {
  local prefix
  prefix=$(realpath -m "$1")
  local stamp="$prefix/.built" work="$prefix/.work" started=$SECONDS
  if [ -f "$stamp" ]; then
    return 0
  fi
  install_missing "${web_packages[@]}"
  rm -rf "$prefix"
  mkdir -p "$work/src"
  (
    # The deb-src entry goes again whatever happens.
    trap web_deps_remove_sources EXIT
    web_deps_add_sources
    cd "$work/src"
    apt-get -o DPkg::Lock::Timeout=600 -qq source libsdl2 freetype libsdl2-ttf
  )

  local common=(-G Ninja -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
    # Emscripten's toolchain roots every search in its sysroot, whose SDL2
    # is a stub that asks for the port: the prefix must be a root too.
    -DCMAKE_FIND_ROOT_PATH="$prefix"
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS=-pthread -DCMAKE_CXX_FLAGS=-pthread)
  web_deps_build() { # web_deps_build NAME SOURCE-GLOB CMAKE-ARGUMENT...
    local name=$1 source
    source=$(find "$work/src" -maxdepth 1 -mindepth 1 -type d -name "$2" | head -n 1)
    shift 2
    echo "Building $name for WebAssembly"
    emcmake cmake -S "$source" -B "$work/build-$name" "${common[@]}" "$@" \
      >"$work/$name.log"
    cmake --build "$work/build-$name" -j"$jobs" >>"$work/$name.log"
    cmake --install "$work/build-$name" >>"$work/$name.log"
  }
  web_deps_build freetype 'freetype-*' -DFT_DISABLE_ZLIB=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
  web_deps_build sdl2 'libsdl2-[0-9]*' -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_THREADS=ON -DSDL_PTHREADS=ON
  web_deps_build sdl2-ttf 'libsdl2-ttf-*' -DSDL2TTF_VENDORED=OFF \
    -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF
  # SDL2_ttf must have found the SDL2 just built, not the sysroot's stub.
  local used
  used=$(sed -n 's/^SDL2_DIR:[A-Z]*=//p' "$work/build-sdl2-ttf/CMakeCache.txt")
  if [[ "$used" != "$prefix"/* ]]; then
    echo "SDL2_ttf found emscripten's SDL2 ($used), not $prefix's" >&2
    return 1
  fi
  rm -rf "$work"
  echo "built $(date -u +%Y-%m-%dT%H:%M:%SZ) with $(emcc --version | head -n 1)" \
    >"$stamp"
  echo "Web libraries built in $((SECONDS - started)) s"
}

build_web_page() {
  build_web_deps "$root/build/web-deps"
  cmake --preset web >/dev/null
  cmake --build --preset web -j"$jobs"
}
