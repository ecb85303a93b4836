#!/usr/bin/env bash
# Two builds of the shipping medium from two clones of one commit, in folders
# of different names, one after the other, in different time zones, the first
# through ccache where it is installed and the second without: every file of
# the two media, and every program of the two build trees, must be the same
# bytes, each program with its PE checksum set.
#
# Usage: reproducible.sh SOURCE_DIR WORK_DIR
# The commit is the checkout's HEAD with its uncommitted changes to tracked
# files (git stash create); untracked files are not in it.
set -euo pipefail
src=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
started=$(date +%s)

rev=$(git -C "$src" stash create 2>/dev/null || true)
[ -n "$rev" ] || rev=$(git -C "$src" rev-parse HEAD)
echo "building commit $rev twice"

# One clone, its medium and its build trees of its own.
build() {
  local clone=$1; shift
  git clone -q --no-checkout "$src" "$clone"
  git -C "$clone" checkout -q "$rev"
  local t0=$(date +%s)
  if ! env "$@" "$clone/scripts/make-medium" "$clone/medium" >"$clone.log" 2>&1; then
    cat "$clone.log"
    echo "FAILED: make-medium in $clone"
    exit 1
  fi
  echo "$clone: medium made in $(($(date +%s) - t0)) s"
}

first=(TZ=UTC CMAKE_C_COMPILER_LAUNCHER= CMAKE_CXX_COMPILER_LAUNCHER=)
if command -v ccache >/dev/null; then
  first=(TZ=UTC CCACHE_BASEDIR="$work" CMAKE_C_COMPILER_LAUNCHER=ccache
    CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
build "$work/first" "${first[@]}"
sleep 1
build "$work/second-clone" TZ=Asia/Kolkata CCACHE_DISABLE=1 CMAKE_C_COMPILER_LAUNCHER= \
  CMAKE_CXX_COMPILER_LAUNCHER=

status=0
compare() {
  local a=$1 b=$2 name=$3
  if cmp "$a" "$b"; then
    printf '  same  %-28s %9s bytes  sha256 %s\n' "$name" "$(stat -c %s "$a")" \
      "$(sha256sum "$a" | cut -c1-16)"
  else
    status=1
  fi
}
for f in Setup.exe Setup.dat SetupLang.dat; do
  compare "$work/first/medium/$f" "$work/second-clone/medium/$f" "$f"
done
for f in "$work/first/medium/Images/"*; do
  compare "$f" "$work/second-clone/medium/Images/${f##*/}" "Images/${f##*/}"
done
# The stand-ins as built (Setup.dat holds them as well).
for f in "$work/first/build/win32/media/standins/bin/"*; do
  compare "$f" "$work/second-clone/build/win32/media/standins/bin/${f##*/}" "${f##*/} (built)"
done

# The PE checksum is set.
. "$here/pe-checksum.sh"
for f in "$work/first/medium/Setup.exe" "$work/first/build/win32/media/standins/bin/"*; do
  if ! pe_checksum_ok "$f"; then
    echo "FAILED: PE checksum not set or wrong in $f"
    status=1
  fi
done

echo "reproducibility test took $(($(date +%s) - started)) s"
if [ "$status" -ne 0 ]; then
  echo "FAILED: the two builds differ"
  exit 1
fi
rm -rf "$work"
echo "PASSED"
