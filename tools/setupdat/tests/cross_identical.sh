#!/bin/sh
# Packs one folder with the Linux and with the Windows build of setupdat and
# compares the two archives byte for byte: media made on a Linux server must be
# what the Windows tool would have made.
#
# Usage: cross_identical.sh SOURCE_DIR WORK_DIR WINE_RUN SETUPDAT_EXE
# The Linux tool is configured and built in WORK_DIR/host (its own tree, so that
# build trees testing side by side never share one), unless QV_HOST_SETUPDAT
# names a built one. Exit 77 (skipped) when it cannot be built.
set -u
src=$1 work=$2 wine_run=$3 exe=$4
mkdir -p "$work"

if [ -n "${QV_HOST_SETUPDAT:-}" ]; then
  host_tool=$QV_HOST_SETUPDAT
else
  host_dir=$work/host
  if ! env -u CC -u CXX cmake -S "$src" -B "$host_dir" -DCMAKE_BUILD_TYPE=Release \
        -DQV_BUILD_TESTS=OFF >"$work/host-build.log" 2>&1 ||
     ! cmake --build "$host_dir" --target setupdat -j2 >>"$work/host-build.log" 2>&1; then
    echo "SKIPPED: the Linux build of setupdat could not be made; see $work/host-build.log"
    exit 77
  fi
  host_tool=$host_dir/tools/setupdat/setupdat
fi

# Input: plain, empty, binary, read-only and nested files.
in=$work/cross-input
chmod -R u+w "$in" 2>/dev/null
rm -rf "$in"
mkdir -p "$in/Textures/Deep" || exit 1
printf 'MZ agent' >"$in/QvAgent.exe"
: >"$in/Empty.dat"
seq 1 20000 >"$in/Textures/Texture001.bmp"
printf '<html>read me</html>' >"$in/Textures/Deep/ReadMe.html"
printf 'locked' >"$in/License.html"
chmod a-w "$in/License.html"

# Reading a file may move its access time: the same times before each run.
set_times() {
  find "$in" -type f -exec touch -m -d '2004-03-05 09:07:08.5 UTC' {} + &&
    find "$in" -type f -exec touch -a -d '2005-06-07 08:09:10 UTC' {} +
}

set_times || exit 1
if ! "$host_tool" pack -o "$work/cross-linux.dat" "$in" >"$work/cross-linux.log" 2>&1; then
  echo "FAILED: Linux setupdat pack"; cat "$work/cross-linux.log"; exit 1
fi
set_times || exit 1
if ! "$wine_run" "$exe" pack -o "Z:$work/cross-windows.dat" "Z:$in" >"$work/cross-windows.log" 2>&1; then
  echo "FAILED: Windows setupdat pack"; cat "$work/cross-windows.log"; exit 1
fi

if ! cmp "$work/cross-linux.dat" "$work/cross-windows.dat"; then
  echo "FAILED: the archives differ"
  "$host_tool" list "$work/cross-linux.dat"
  "$host_tool" list "$work/cross-windows.dat"
  exit 1
fi
"$host_tool" list "$work/cross-linux.dat"
echo "PASSED: identical archives of $(stat -c %s "$work/cross-linux.dat") bytes"
