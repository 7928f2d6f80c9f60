#!/usr/bin/env bash
# wide_build_symbols.sh OBJECT...: the objects of the engine's wide build define no code that the
# baseline build could share. An inline function or template instance defined in both builds is
# kept once by the linker, perhaps in its wide form, which the baseline build would then run on
# processors without AVX2. Only names in the wide build's own namespace may be defined weakly.
set -euo pipefail
shared=$(nm -C --defined-only "$@" | awk '$2 ~ /^[WVu]$/' | grep -v 'kaleno::wide::' || true)
if [ -n "$shared" ]; then
    echo "the wide build defines code the baseline build may share:" >&2
    echo "$shared" >&2
    exit 1
fi
