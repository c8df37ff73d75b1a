#!/usr/bin/env bash
# Packs the configuration documents into the 7z archive the executable carries:
#   pack-config.sh OUT.7z DOC... [-- 7z options]
# Each document (UTF-8 source) is written as UTF-16LE with a byte-order mark under its own name;
# the archive is LZMA2, one block per file, unencrypted unless options say otherwise.
set -euo pipefail
out=$(realpath -m "$1"); shift
docs=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do docs+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for doc in "${docs[@]}"; do
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$doc"; } >"$stage/$(basename "$doc")"
done
rm -f "$out"
(cd "$stage" && 7z a -t7z -m0=lzma2 -ms=off "$@" "$out" -- * >/dev/null)
