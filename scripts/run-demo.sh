#!/usr/bin/env bash
# The main job: builds the library, the example host and the record maker,
# writes the bundled sample records and opens each one through the host.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVELANCE_TESTS=OFF -DMORVELANCE_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(build_jobs)" --target morvelance-host morvelance-mkrecord workdir

samples="$build/samples"
rm -rf "$samples"
"$build/bin/morvelance-mkrecord" samples "$samples"
"$build/bin/morvelance-mkrecord" mfer --kind plain --leads 12 --out "$samples/mfer12.mwf" --hl7 "$samples/mfer12.hl7.xml"
"$build/bin/morvelance-mkrecord" mfer --kind extra4 --out "$samples/mfer-extra4.mwf" --little-endian
ptb=../shared/data/physionet/ptb/s0010_re
if [ -f "$ptb.hea" ]; then
    "$build/bin/morvelance-mkrecord" wfdb --record "$ptb" --kind rest15 --out "$samples/ptb-s0010_re.ecg" --xml
    "$build/bin/morvelance-mkrecord" wfdb --mfer --record "$ptb" --out "$samples/ptb-s0010_re.mwf"
fi
"$build/bin/morvelance-host" info "$samples"/*.ecg "$samples"/*.mwf
