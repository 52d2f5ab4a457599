#!/usr/bin/env bash
# Builds and runs every test: the tests, the same tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, and a bounded fuzz run of the record readers
# and the examination documents.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# The compiler cache outlives the clone (CI clones afresh for every run) and is
# keyed on paths relative to the tree, so a clone in another folder hits what
# an earlier one built; the precompiled headers' defines and time macros are
# allowed for, or no call that uses them could be cached.
export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/morvelance-ccache}"
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS="pch_defines,time_macros,include_file_mtime,include_file_ctime"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-20G}"
FUZZ_SECONDS="${FUZZ_SECONDS:-30}"

echo "== layers: no folder includes one of a higher floor" && scripts/check-layers.sh

# Whatever a suite leaves in the temporary folder is a fault. Each test and
# benchmark run below gets a temporary folder of its own (TMPDIR), so that
# what other programs of the machine put in the shared one is not taken for
# the suite's, and anything left in it fails the run.
shared_temp="${TMPDIR:-/tmp}"
enter_private_temp() {
    TMPDIR=$(mktemp -d "$shared_temp/morvelance-ci.XXXXXX") && export TMPDIR
}
# leave_private_temp WHAT
leave_private_temp() {
    local private=$TMPDIR left
    export TMPDIR=$shared_temp
    left=$(find "$private" -mindepth 1 -maxdepth 1 -printf '%f\n' 2>/dev/null | sort)
    if [ -n "$left" ]; then
        echo "$1 left these in the temporary folder:" >&2 && sed 's/^/  /' <<<"$left" >&2
        exit 1
    fi
    rmdir "$private"
}
echo "== tests"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVELANCE_CHECKED_STL=ON >/dev/null
cmake --build build/test -j "$(build_jobs)"
enter_private_temp
ctest --test-dir build/test --output-on-failure -j "$(build_jobs)"
leave_private_temp "the tests"

# ---- the installed library, used from outside the tree -------------------------
echo "== installing into a temporary prefix and building two programs against it"
install_root=$(mktemp -d)
prefix=$install_root/prefix
cmake --install build/test --prefix "$prefix" --strip >/dev/null
# Nothing installed may name the source or build folder, nor search any
# folder but its own.
if grep -rlF "$PWD" "$prefix"; then echo "installed files name $PWD" >&2; exit 1; fi
while IFS= read -r elf; do
    if readelf -d "$elf" | grep -E '\((RUNPATH|RPATH)\)' | grep -vE '\[\$ORIGIN(/[^]:]*)?\]$'; then
        echo "$elf searches outside the installed tree" >&2; exit 1
    fi
done < <(find "$prefix" -type f -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print)
records=$install_root/records && mkdir -p "$records"
"$prefix"/bin/morvelance-mkrecord samples "$records" >/dev/null
( export XDG_CONFIG_HOME=$install_root/config; unset MORVELANCE_REGISTRY MORVELANCE_FONTCONFIG
  "$prefix"/bin/morvelance-host info "$records"/rest12_90.ecg >/dev/null
  grep -q "share/morvelance/Tavrion.ocx" "$XDG_CONFIG_HOME"/morvelance/registry.reg
  cmake -S tests/install -B "$install_root"/with-cmake -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$install_root"/with-cmake >/dev/null
  "$install_root"/with-cmake/lead_count "$records"/rest12_90.ecg "$records"/rest15_80.ecg
  PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name morvelance.pc)") \
      tests/install/build-with-pkg-config.sh "$install_root"/lead_count-pkg-config
  "$install_root"/lead_count-pkg-config "$records"/rest12_90.ecg "$records"/rest15_80.ecg )
rm -rf "$install_root"

echo "== every benchmark once, in a short mode (a bench that crashes or no longer builds fails here)"
if [ -x build/test/bin/morvelance_bench ]; then
    # The growth benchmark runs at its smallest size only: its long records take minutes to make.
    enter_private_temp
    build/test/bin/morvelance_bench --benchmark_min_time=0.01 --benchmark_filter=-Growth >/dev/null
    build/test/bin/morvelance_bench --benchmark_min_time=0.01 --benchmark_filter='Growth.*/10/' >/dev/null
    leave_private_temp "the benchmarks"
else
    echo "no benchmark program (Google Benchmark is not installed)"
fi

# Fuzzing in CI is the same for the same tree: every target runs with a fixed
# seed (FUZZ_SEED) over its seeds and its committed regression corpus,
# tests/fuzz/regressions/<target>/ (every input that ever failed; add each new
# finding there with the fix), first replayed once in full, then mutated for
# FUZZ_SECONDS. A finding by chance of a random seed never blocks a landing.
# Findings are written under build/fuzz/artifacts/.
#
# Before stopping work on a change that touches a reader (platform/zarn,
# platform/mfer, platform/xml, the record access in core/, the documents),
# run the targets longer with random seeds and several workers, e.g. for each
# of zarn_container_fuzz, xml_fuzz, mfer_fuzz and document_fuzz (after one
# run of this script has built them and written the seeds):
#   build/fuzz/bin/<target> -max_total_time=1800 -jobs=8 -workers=8 \
#       -artifact_prefix=build/fuzz/artifacts/ build/fuzz/<target>_corpus \
#       <its seed folders below> tests/fuzz/regressions/<target>
# and add what it finds to tests/fuzz/regressions/<target>/.
FUZZ_SEED="${FUZZ_SEED:-1}"
echo "== fuzzing the device-record container, the XML layer, the MFER reader and the documents, ${FUZZ_SECONDS}s each (seed ${FUZZ_SEED})"
cmake -S . -B build/fuzz -G Ninja -DMORVELANCE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$(build_jobs)"
seeds=build/fuzz/seeds
rm -rf "$seeds" build/fuzz/artifacts && mkdir -p "$seeds/records" "$seeds/examinations" "$seeds/mfer" build/fuzz/artifacts
build/test/bin/morvelance-mkrecord seeds "$seeds/records" >/dev/null
build/test/bin/morvelance-mkrecord examinations "$seeds/examinations" >/dev/null
rm -f "$seeds/examinations"/*.xml
build/test/bin/morvelance-mkrecord mfer-seeds "$seeds/mfer" >/dev/null
# run_fuzz TARGET OPTIONS... -- SEED_FOLDERS...
run_fuzz() {
    local target=$1 && shift
    local options=() && while [ "$1" != "--" ]; do options+=("$1") && shift; done && shift
    local corpus=build/fuzz/${target}_corpus regressions=tests/fuzz/regressions/$target
    rm -rf "$corpus" && mkdir -p "$corpus"
    [ -d "$regressions" ] || regressions=
    echo "-- $target"
    build/fuzz/bin/$target "${options[@]}" -artifact_prefix="build/fuzz/artifacts/$target-" -runs=0 \
        "$corpus" "$@" $regressions 2>&1 | tail -n 3
    build/fuzz/bin/$target "${options[@]}" -artifact_prefix="build/fuzz/artifacts/$target-" -seed="$FUZZ_SEED" \
        -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 "$corpus" "$@" $regressions 2>&1 | tail -n 15
}
# The four targets run side by side, each on its own core; their reports are
# printed one after another, and a finding in any fails the run.
fuzz_pids=() && fuzz_logs=()
for job in "zarn_container_fuzz -max_len=65536 -- $seeds/records" \
            "xml_fuzz -max_len=16384 -timeout=10 -- tests/fuzz/xml_seeds" \
            "mfer_fuzz -max_len=4096 -- $seeds/mfer" \
            "document_fuzz -max_len=1200000 -timeout=30 -rss_limit_mb=4096 -- $seeds/records $seeds/examinations $seeds/mfer"; do
    log=build/fuzz/${job%% *}.log
    # shellcheck disable=SC2086  # the job line is split into its words on purpose
    ( set -o pipefail; run_fuzz $job ) >"$log" 2>&1 &
    fuzz_pids+=($!) && fuzz_logs+=("$log")
done
fuzz_failed=0
for i in "${!fuzz_pids[@]}"; do
    wait "${fuzz_pids[$i]}" || fuzz_failed=1
    cat "${fuzz_logs[$i]}"
done
[ "$fuzz_failed" -eq 0 ] || { echo "a fuzz target found a fault (see build/fuzz/artifacts/)" >&2; exit 1; }

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVELANCE_SANITIZE=ON -DMORVELANCE_BENCH=OFF >/dev/null
cmake --build build/asan -j "$(build_jobs)"
enter_private_temp
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:suppressions=$PWD/tests/asan.supp UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$(build_jobs)"
leave_private_temp "the tests with the sanitizers"

