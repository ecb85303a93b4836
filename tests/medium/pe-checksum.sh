# Sourced by the medium's tests. pe_checksum_ok FILE: true when the PE header
# checksum of FILE is set and right, as osslsigncode computes it. Newer
# versions print "PE checksum : X" when it is right and both values when they
# differ; older ones always print both.
pe_checksum_ok() {
  local out current calculated
  out=$(osslsigncode verify -in "$1" 2>&1 || true)
  current=$(sed -n 's/^Current PE checksum *: *\([0-9A-Fa-f]*\).*/\1/p' <<<"$out")
  calculated=$(sed -n 's/^Calculated PE checksum *: *\([0-9A-Fa-f]*\).*/\1/p' <<<"$out")
  if [ -z "$calculated" ]; then
    grep -q '^PE checksum *: *[0-9A-Fa-f]' <<<"$out"
  else
    [ "$current" = "$calculated" ] && [ "$current" != 00000000 ]
  fi
}
