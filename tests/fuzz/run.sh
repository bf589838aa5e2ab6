#!/bin/sh
# Runs one fuzz target for a while over its seeds:
#   run.sh [--fresh] FUZZER SEEDS WORKDIR SECONDS [libFuzzer options...]
# New inputs go to WORKDIR/corpus (emptied first with --fresh), crashing,
# hanging and leaking inputs to WORKDIR/artifacts: once fixed, keep those
# in tests/fuzz/regressions/<target>/. Exit status: libFuzzer's (0 when it
# found nothing).
set -eu
fresh=false
if [ "${1:-}" = --fresh ]; then fresh=true; shift; fi
[ $# -ge 4 ] || { echo "usage: $0 [--fresh] FUZZER SEEDS WORKDIR SECONDS [OPTIONS...]" >&2; exit 2; }
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
if $fresh; then rm -rf "$work/corpus"; fi
mkdir -p "$work/corpus" "$work/artifacts"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$@" "$work/corpus" "$seeds"
