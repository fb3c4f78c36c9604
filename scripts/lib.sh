# Shared by the run and test commands: package checks and the CMake steps.
# Sourced, not run.

BAUD51_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the build itself needs; the commands add their own extras. Numbers
# are read with fast_float and written with {fmt}; the command-line program
# writes JSON with nlohmann-json; help2man makes its manual page.
BAUD51_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfast-float-dev
  nlohmann-json3-dev libfmt-dev help2man)
# A font with Chinese glyphs: without one every window text is boxes. Qt's
# own Chinese texts (context menus, dialog buttons): without them they are
# English, which is no error.
BAUD51_FONT_PACKAGES=(fonts-wqy-microhei qt6-translations-l10n)
# SDCC and its simulator, for the init code baud51-cli writes: the tests
# compile and run it, and a developer at the run command has them to hand.
BAUD51_8051_PACKAGES=(sdcc sdcc-ucsim)
# The install test: the desktop file and AppStream validators, and what
# CPack needs to work out the Debian package's library dependencies. The
# screen-reader test: a virtual display, a D-Bus session with the
# accessibility bus and registry, and the AT-SPI client for Python. The
# command line's init code: SDCC compiles it and its s51 simulator runs it.
BAUD51_TEST_PACKAGES=(desktop-file-utils appstream dpkg-dev file
  xvfb xauth dbus at-spi2-core python3-pyatspi)
# The slower checks: clang with its sanitizer and libFuzzer runtimes,
# llvm-symbolizer so that their reports name functions and lines, valgrind,
# clang-format and git for the layout check of the tracked files.
BAUD51_CHECK_PACKAGES=(clang clang-format git libclang-rt-14-dev llvm valgrind)
# The Windows program: the MinGW-w64 cross compiler (posix threads), Wine
# and a virtual display to run its tests on, Wine's own fonts (the caption
# buttons' Marlett), AR PL UMing for the Chinese texts (a Song face with
# SimSun's widths), Python for rendering the icon, and the header-only
# libraries of the command line.
BAUD51_WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine fonts-arphic-uming xvfb xauth python3
  nlohmann-json3-dev libfmt-dev libfast-float-dev)
# The page: Debian's Emscripten (its JavaScript optimiser needs acorn), the
# header-only libraries, Node to write the press table out, and headless
# Chromium driven through Selenium, with a Song face for the Chinese texts.
BAUD51_WEB_PACKAGES=(cmake ninja-build emscripten node-acorn nodejs
  libfast-float-dev libfmt-dev nlohmann-json3-dev
  chromium chromium-driver python3 python3-selenium fonts-arphic-uming)

die() { printf 'baud51: %s\n' "$*" >&2; exit 1; }

# Installs only the Debian packages that are missing, so a second run
# costs one dpkg query per package and touches nothing.
ensure_packages() {
  command -v dpkg-query >/dev/null 2>&1 ||
    die "this needs a Debian-based system (dpkg and apt-get not found)"
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 ||
      die "missing packages (${missing[*]}); run as root or install sudo"
    as_root=(sudo)
  fi
  echo "baud51: installing ${missing[*]}" >&2
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
    die "apt-get update failed; cannot install ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
    die "apt-get install failed for ${missing[*]}"
}

# Configures once; afterwards Ninja re-runs CMake by itself when a
# CMakeLists.txt changes, so an up-to-date tree is left alone.
configure() {
  local preset=$1
  [ -f "$BAUD51_ROOT/build/$preset/build.ninja" ] && return 0
  cmake --preset "$preset" -S "$BAUD51_ROOT" >/dev/null ||
    die "configuring the '$preset' build failed"
}
