#!/usr/bin/env bash
# The shipping Setup.exe (preset win32), stripped, must stay within 256 KiB.
# When it does not, the test names where the bytes are: the image's
# sections, the libraries and the program's own code, and the largest
# functions and data of the same link with its symbols kept.
#
# Usage: size.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1 work=$2
limit=$((256 * 1024))
build=$src/build/win32
rm -rf "$work"
mkdir -p "$work"

cd "$src"
[ -f "$build/CMakeCache.txt" ] || cmake --preset win32 >/dev/null
cmake --build "$build" --target Setup -j2 >/dev/null
cp "$build/wizard/Setup.exe" "$work/Setup.exe"
i686-w64-mingw32-strip "$work/Setup.exe"
size=$(stat -c %s "$work/Setup.exe")
echo "Setup.exe stripped: $size bytes, limit $limit ($((size * 100 / limit)) %)"
[ "$size" -gt "$limit" ] || exit 0

echo "FAILED: Setup.exe is $((size - limit)) bytes over its limit. Sections:"
i686-w64-mingw32-objdump -h "$work/Setup.exe" | awk '$1 ~ /^[0-9]+$/ && $2 != ".bss" { print $2, $3 }' |
  while read -r name hexsize; do printf '%9d  %s\n' "$((16#$hexsize))" "$name"; done

# The same link again with its symbols and a map (the link-time optimised
# code of the program's own sources is one object in the map).
link=$(tail -n 1 "$build/wizard/CMakeFiles/Setup.dir/link.txt")
link=${link/ -s / }
link=${link/-o Setup.exe/-o $work/Setup.symbols.exe -Wl,-Map,$work/Setup.map}
link=${link/-Wl,--out-implib,libSetup.dll.a/}
(cd "$build/wizard" && eval "$link")

echo "Largest inputs (bytes in the image's sections):"
awk '
  function hex(s,   i, n, c) {
    n = 0; s = tolower(substr(s, 3))
    for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(s, i, 1)); n = n * 16 + c - 1 }
    return n
  }
  function add(size, file) {
    if (!keep[out]) return
    sub(/.*\//, "", file)
    if (file ~ /ltrans/) file = "the program'"'"'s own code (link-time optimised)"
    else sub(/\(.*/, "", file)
    bytes[file] += hex(size)
  }
  BEGIN { split(".text .data .rdata .eh_frame .idata .rsrc .CRT .tls", k, " "); for (i in k) keep[k[i]] = 1 }
  /^Linker script and memory map/ { map = 1; next }
  !map { next }
  /^\./ { out = $1; pending = 0; next }
  /^ [^ ]+$/ { pending = 1; next }
  pending && NF == 3 && $1 ~ /^0x/ { add($2, $3); pending = 0; next }
  /^ [^ ]/ && NF == 4 && $2 ~ /^0x/ { add($3, $4) }
  END { for (f in bytes) printf "%9d  %s\n", bytes[f], f }
' "$work/Setup.map" | sort -rn | head -n 12
echo "Largest functions:"
i686-w64-mingw32-nm --size-sort -S -C "$work/Setup.symbols.exe" |
  awk '$3 ~ /^[tT]$/ && $4 !~ /^\./' | tail -n 25 | tac |
  while read -r _ hexsize _ name; do printf '%9d  %s\n' "$((16#$hexsize))" "${name:0:110}"; done
exit 1
