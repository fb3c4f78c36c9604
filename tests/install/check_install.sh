#!/usr/bin/env bash
# check_install.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1 scratch=$2
app_id=com.example.Baud51
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$scratch" && mkdir -p "$scratch"
prefix="$scratch/prefix with space"

# Any prefix: one with a space in it catches unquoted paths.
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/baud51 bin/baud51-cli share/man/man1/baud51-cli.1 \
    share/bash-completion/completions/baud51-cli \
    "share/applications/$app_id.desktop" \
    "share/metainfo/$app_id.metainfo.xml" \
    "share/icons/hicolor/32x32/apps/$app_id.png" \
    "share/icons/hicolor/scalable/apps/$app_id.svg"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/baud51" ] || fail "bin/baud51 is not executable"
[ "$("$prefix/bin/baud51-cli" --version)" = "baud51-cli 1.00" ] ||
  fail "the installed baud51-cli does not run"

# The command line's component alone: what a build machine installs.
cli_prefix="$scratch/cli only"
cmake --install "$build" --prefix "$cli_prefix" --component cli >/dev/null
[ -x "$cli_prefix/bin/baud51-cli" ] || fail "component cli lacks baud51-cli"
[ -e "$cli_prefix/bin/baud51" ] && fail "component cli installs the window"

desktop="$prefix/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Name=小工具1' "$desktop" || fail "desktop entry name"
grep -qx 'Icon=com.example.Baud51' "$desktop" || fail "desktop entry icon"
grep -q '^Categories=.*Development;.*Electronics;' "$desktop" ||
  fail "desktop entry categories"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" \
  >/dev/null || fail "appstreamcli validate"
grep -q '<screenshot' "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "metainfo has no screenshot"

# The hicolor picture is the program's own 32 x 32 icon.
png_size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/32x32/apps/$app_id.png" |
  awk '{print $3*256+$4 "x" $7*256+$8}')
[ "$png_size" = 32x32 ] || fail "32x32 icon is $png_size"

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB"; }
# One package for the window, as it always was, and one for the command
# line that must not pull in Qt.
deb="$scratch/baud51_${version}_$arch.deb"
if [ ! -f "$deb" ]; then
  fail "no window package $(basename "$deb")"
else
  [ "$(dpkg-deb -f "$deb" Package)" = baud51 ] || fail "window package name"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "baud51 Depends: $depends"
  for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
      fonts-wqy-microhei; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed"
  done
  grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" ||
    fail "window package no longer recommends Qt's Chinese texts"
  contents=$(dpkg-deb -c "$deb")
  for file in ./usr/bin/baud51 "./usr/share/applications/$app_id.desktop" \
      "./usr/share/icons/hicolor/32x32/apps/$app_id.png"; do
    grep -qF " $file" <<<"$contents" || fail "package lacks $file"
  done
  grep -qF baud51-cli <<<"$contents" && fail "window package holds baud51-cli"
fi

cli_deb="$scratch/baud51-cli_${version}_$arch.deb"
if [ ! -f "$cli_deb" ]; then
  fail "no command-line package $(basename "$cli_deb")"
else
  depends=$(dpkg-deb -f "$cli_deb" Depends)
  echo "baud51-cli Depends: $depends"
  grep -qi qt <<<"$depends" && fail "baud51-cli depends on Qt: $depends"
  grep -q libc6 <<<"$depends" || fail "baud51-cli Depends lacks libc6"
  contents=$(dpkg-deb -c "$cli_deb")
  for file in ./usr/bin/baud51-cli ./usr/share/man/man1/baud51-cli.1 \
      ./usr/share/bash-completion/completions/baud51-cli; do
    grep -qF " $file" <<<"$contents" || fail "baud51-cli package lacks $file"
  done
  awk '{print $6}' <<<"$contents" | grep -qx ./usr/bin/baud51 &&
    fail "baud51-cli package holds the window"
fi

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit "$failures"
