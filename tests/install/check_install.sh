#!/usr/bin/env bash
# check_install.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1 scratch=$2
app_id=com.example.Baud51
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$scratch" && mkdir -p "$scratch"
prefix="$scratch/prefix with space"

# Any prefix: one with a space in it catches unquoted paths.
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/baud51 \
    "share/applications/$app_id.desktop" \
    "share/metainfo/$app_id.metainfo.xml" \
    "share/icons/hicolor/32x32/apps/$app_id.png" \
    "share/icons/hicolor/scalable/apps/$app_id.svg"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/baud51" ] || fail "bin/baud51 is not executable"

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
deb=$(ls "$scratch"/*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  fail "no .deb built"
else
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
      fonts-wqy-microhei; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed"
  done
  contents=$(dpkg-deb -c "$deb")
  for file in ./usr/bin/baud51 "./usr/share/applications/$app_id.desktop" \
      "./usr/share/icons/hicolor/32x32/apps/$app_id.png"; do
    grep -qF " $file" <<<"$contents" || fail "package lacks $file"
  done
fi

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit "$failures"
