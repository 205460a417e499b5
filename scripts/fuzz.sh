#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with Debian's clang in build-fuzz/ and runs
# each for SECONDS (default 15) from its seed corpus in fuzz/corpus/.
#   scripts/fuzz.sh [SECONDS]
# New interesting inputs go to build-fuzz/corpus/<target>/, the seeds stay
# untouched; a crashing input is saved as build-fuzz/crash-<target>-* and
# the script fails. Prints the executions and time of each run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}

bash scripts/install-deps.sh fuzz
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZELVORN_BUILD_FUZZ=ON -DZELVORN_BUILD_TESTS=OFF -DZELVORN_BUILD_BENCH=OFF >/dev/null

# target, seed folder, largest input
targets=(
    "fuzz_list_file_reader list_file_reader 65536"
    "fuzz_split_command_line split_command_line 4096"
    "fuzz_image_set image_set 262144"
)
names=()
for t in "${targets[@]}"; do names+=("${t%% *}"); done
cmake --build build-fuzz -j"$(nproc)" --target "${names[@]}"

status=0
summary=()
for t in "${targets[@]}"; do
    read -r target seeds max_len <<<"$t"
    work=build-fuzz/corpus/$seeds
    mkdir -p "$work"
    log=build-fuzz/$target.log
    start=$(date +%s%N)
    if ! build-fuzz/fuzz/"$target" -max_total_time="$seconds" -max_len="$max_len" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/crash-$target-" \
        "$work" "fuzz/corpus/$seeds" >"$log" 2>&1; then
        status=1
        echo "FAIL: $target found a problem; see $log" >&2
        tail -n 40 "$log" >&2
    fi
    took_ms=$((($(date +%s%N) - start) / 1000000))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    summary+=("$(printf '%-26s %10s executions in %d.%d s' "$target" "${runs:-?}" \
        $((took_ms / 1000)) $((took_ms % 1000 / 100)))")
done
printf '%s\n' "${summary[@]}"
exit "$status"
