#!/usr/bin/env bash
# scripts/make-medium --sign: a throwaway self-signed code-signing certificate
# made here (never a committed key); a certificate that cannot sign makes no
# medium; a signed medium has every program signed and verifying, and a
# Setup.dat changed after signing leaves Setup.exe's signature intact but is
# refused by the seal.
#
# Usage: signing.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
cd "$work"
setupdat=$src/build/host/tools/setupdat/setupdat
. "$here/pe-checksum.sh"
failures=0
check() { echo "  ok: $*"; }
bad() { echo "FAILED: $*"; failures=$((failures + 1)); }
flip_byte() {
  local file=$1 at=$2 byte
  byte=$(od -An -tu1 -j "$at" -N1 "$file" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Quorvane Test Signing" -addext "extendedKeyUsage=codeSigning" \
  -addext "keyUsage=digitalSignature" 2>/dev/null
printf 'throwaway-%s\n' "$RANDOM" >password.txt
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout file:password.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout other.key -out other.pem -days 2 \
  -subj "/CN=Someone Else" 2>/dev/null
printf 'wrong\n' >wrong.txt
printf 'not a certificate' >bad.pfx

# Each refusal: exit 1, a message naming the fault, no medium, no temporary folder.
refuse() {
  local name=$1 expect=$2; shift 2
  local status=0
  "$src/scripts/make-medium" "$@" "$work/refused" >"$name.out" 2>&1 || status=$?
  if [ "$status" -ne 1 ]; then bad "$name: exit $status, expected 1"; cat "$name.out"; return; fi
  grep -q -- "$expect" "$name.out" || { bad "$name: no message '$expect'"; cat "$name.out"; return; }
  if [ -e "$work/refused" ] || ls -d "$work"/.make-medium.* >/dev/null 2>&1; then
    bad "$name: a medium or temporary folder was left"; return
  fi
  check "$name: exit 1, $(grep 'make-medium: error:' "$name.out")"
}
refuse missing-certificate "certificate not found" --sign "$work/none.pfx"
refuse bad-certificate "not a PKCS#12 certificate file" --sign bad.pfx
refuse wrong-password "the password is wrong" --sign cert.pfx --password-file wrong.txt
refuse missing-password-file "password file not found" --sign cert.pfx --password-file none.txt
refuse untrusted "does not verify" --sign cert.pfx --password-file password.txt \
  --ca-file other.pem

"$src/scripts/make-medium" --sign cert.pfx --password-file password.txt --ca-file cert.pem \
  "$work/medium" >make.out 2>&1 || { cat make.out; bad "signed medium not made"; exit 1; }

# Every program of the medium, those inside Setup.dat included.
mkdir programs
cp medium/Setup.exe programs/
for f in QvAgent.exe QvApi.dll QvManag.exe QvImage.dll Uninstall.exe Quorvane.scr; do
  "$setupdat" extract medium/Setup.dat "$f" -o "programs/$f" >/dev/null
done
for f in programs/*; do
  if osslsigncode verify -in "$f" -CAfile cert.pem >"$f.verify" 2>&1 &&
     grep -q '^Message digest algorithm *: *SHA256' "$f.verify" && pe_checksum_ok "$f"; then
    check "$(basename "$f"): SHA-256 signature verifies, PE checksum right"
  else
    bad "$(basename "$f") does not verify"; cat "$f.verify"
  fi
done
# Without their signatures the programs are the build's, Setup.exe the
# build's sealed with this archive: how a signed release is traced to a build.
built=$src/build/win32
cp "$built/wizard/Setup.exe" resealed.exe
"$setupdat" seal resealed.exe medium/Setup.dat >/dev/null
for f in programs/*.exe programs/*.dll programs/*.scr; do
  osslsigncode remove-signature -in "$f" -out plain >/dev/null
  name=${f#programs/}
  if [ "$name" = Setup.exe ]; then expected=resealed.exe; else expected=$built/media/standins/bin/$name; fi
  cmp -s plain "$expected" && check "$name without its signature is the build's" ||
    bad "$name without its signature differs from $expected"
  rm -f plain
done
echo "--- osslsigncode verify Setup.exe"
cat programs/Setup.exe.verify

# One byte of the archive changed after signing: the archive lies outside the
# signature, so Setup.exe still verifies; the seal tells the setup to refuse.
cp -r medium changed
flip_byte changed/Setup.dat $(($(stat -c %s changed/Setup.dat) / 2))
cmp -s medium/Setup.dat changed/Setup.dat && bad "the archive was not changed"
osslsigncode verify -in changed/Setup.exe -CAfile cert.pem >changed.verify 2>&1 &&
  check "Setup.exe of the changed medium still verifies" ||
  { bad "Setup.exe of the changed medium does not verify"; cat changed.verify; }
if "$setupdat" verify changed/Setup.dat --setup changed/Setup.exe >changed.out 2>&1; then
  bad "the changed archive passes the seal check"
else
  check "$(cat changed.out)"
fi
"$setupdat" verify medium/Setup.dat --plan --setup medium/Setup.exe

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "PASSED"
