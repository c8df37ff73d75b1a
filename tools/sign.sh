#!/usr/bin/env bash
# Signs a PE file in place: sign.sh CERT_DIR FILE [CERT_NAME]
# CERT_NAME picks another certificate of CERT_DIR (CERT_NAME.pem / CERT_NAME.key.pem) for refusal tests.
set -euo pipefail
dir=$1 file=$2 name=${3:-}
cert=$dir/cert.pem key=$dir/key.pem
if [ -n "$name" ]; then cert=$dir/$name.pem key=$dir/$name.key.pem; fi
tmp=$file.signing
osslsigncode sign -certs "$cert" -key "$key" -h sha256 -in "$file" -out "$tmp" >/dev/null
mv -f "$tmp" "$file"
