#!/bin/sh
# Builds the benchmarks (Release, in build/bench) and runs them, printing one
# table: the median of several repetitions of every benchmark, with its
# counters. Usage: bench/run.sh [FILTER] [REPETITIONS]
#   FILTER       a --benchmark_filter regular expression (default: all)
#   REPETITIONS  runs of each benchmark (default 5)
# The growth benchmarks print their fitted exponents after the table.
# BENCH_BUILD=DIR uses an already configured build folder instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
filter=${1:-.}
reps=${2:-5}
build=${BENCH_BUILD:-"$root/build/bench"}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

if [ -z "${BENCH_BUILD:-}" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVELANCE_BENCH=ON >/dev/null
fi
cmake --build "$build" -j "$jobs" --target morvelance_bench >/dev/null

json=$(mktemp /tmp/morvelance-bench-XXXXXX.json)
log=$(mktemp /tmp/morvelance-bench-XXXXXX.log)
trap 'rm -f "$json" "$log"' EXIT
"$build/bin/morvelance_bench" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>"$log"

python3 - "$json" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
skip = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads", "iterations",
        "real_time", "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "family_index",
        "per_family_instance_index", "label", "error_occurred", "error_message"}
rows = []
for b in data.get("benchmarks", []):
    if b.get("error_occurred"):
        rows.append((b["run_name"], "skipped", b.get("error_message", "")))
        continue
    if b.get("aggregate_name") != "median":
        continue
    extra = ", ".join("%s=%.0f" % (k, v) for k, v in b.items() if k not in skip and isinstance(v, (int, float))
                      and not k.endswith("_per_second"))
    label = b.get("label", "")
    rows.append((b["run_name"], "%.3f %s" % (b["real_time"], b["time_unit"]), "; ".join(x for x in (label, extra) if x)))
seen = set()
width = max([len(r[0]) for r in rows] + [9])
print("%-*s  %14s  %s" % (width, "benchmark", "median", "notes"))
for name, time, notes in rows:
    if (name, time) in seen:
        continue
    seen.add((name, time))
    print("%-*s  %14s  %s" % (width, name, time, notes))
PY
grep "^growth" "$log" || true
