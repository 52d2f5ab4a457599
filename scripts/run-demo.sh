#!/usr/bin/env bash
# The main job: builds the library, the example host and the record maker,
# writes the bundled sample records and opens each one through the host.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xdotool imagemagick

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVELANCE_TESTS=OFF -DMORVELANCE_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(build_jobs)" --target morvelance-host morvelance-mkrecord workdir

samples="$build/samples"
rm -rf "$samples"
"$build/bin/morvelance-mkrecord" samples "$samples"
# MFER files, each with the record XML the system keeps beside it ("Raw_", the
# file's stem and 14 digits of the naming time).
mfer() {  # NAME ARGS...
    local name=$1; shift
    "$build/bin/morvelance-mkrecord" "$@" --out "$samples/$name.mwf" --xml-out "$samples/Raw_${name}20240401093000.xml"
}
mfer mfer12 mfer --kind plain --leads 12 --hl7 "$samples/mfer12.hl7.xml"
mfer mfer-extra4 mfer --kind extra4 --little-endian
mfer mfer-rhythm15 mfer --kind rhythm15 --seconds 30
ptb=../shared/data/physionet/ptb/s0010_re
if [ -f "$ptb.hea" ]; then
    "$build/bin/morvelance-mkrecord" wfdb --record "$ptb" --kind rest15 --out "$samples/ptb-s0010_re.ecg" --xml
    mfer ptb-s0010_re wfdb --mfer --record "$ptb"
    "$build/bin/morvelance-mkrecord" examinations "$samples" --ptb "$ptb"
else
    "$build/bin/morvelance-mkrecord" examinations "$samples"
fi
mitdb=../shared/data/physionet/mitdb/100
if [ -f "$mitdb.hea" ]; then
    mfer mitdb-100 wfdb --mfer --record "$mitdb" --seconds 120
fi
# What the file list shows of every record, then each record opened through
# its examination document.
"$build/bin/morvelance-host" info "$samples"/*.ecg "$samples"/*.mwf
"$build/bin/morvelance-host" open "$samples"/*.ecg "$samples"/*.mwf
# The waveform sheet of a record painted as a pane shows it, and printed on
# A4 through the PDF printer (grid first, then the traces).
demo_record="$samples/rest12_90.ecg"
[ -f "$samples/ptb-s0010_re.ecg" ] && demo_record="$samples/ptb-s0010_re.ecg"
"$build/bin/morvelance-host" view "$demo_record" --view sheet --size 1920x1080 --grid lines --png "$samples/sheet.png"
"$build/bin/morvelance-host" print "$demo_record" --view sheet --pdf "$samples/sheet.pdf"
"$build/bin/morvelance-host" view "$samples/rest12_90.ecg" --view CViewRhythmWave --style 1 --png "$samples/rhythm-view.png"
# The averaged beats of a resting record and an MFER file on their 4 x 3 grid,
# overlapped with the fiducial points the recorder measured, the calibration
# column beside them, and the averaged beats printed as the report prints them.
for record in "$demo_record" "$samples/mfer12.mwf"; do
    stem=$(basename "${record%.*}")
    "$build/bin/morvelance-host" view "$record" --view CViewAverageWave --size 1300x1200 --png "$samples/$stem-average.png"
    "$build/bin/morvelance-host" view "$record" --view CViewAveOverlappedWave --size 600x800 --png "$samples/$stem-overlapped.png"
done
"$build/bin/morvelance-host" view "$demo_record" --view CViewCAL --cal-count 3 --size 100x600 --png "$samples/calibration.png"
"$build/bin/morvelance-host" print "$demo_record" --view CViewAverageWave --pdf "$samples/average.pdf"
# A resting and a rhythm record printed whole: the sheet with its lead names,
# speed and gain (a page per stretch of the record at 25 mm/s), then the
# multi-lead page, in one PDF each.
for record in rest12_90 rhythm_90; do
    "$build/bin/morvelance-host" print "$samples/$record.ecg" --view all --pdf "$samples/printed/$record.pdf"
done

# The library's dialogs as their openers show them on a resting and a rhythm record.
for record in rest12_90 rhythm_90; do
    "$build/bin/morvelance-host" dialog "$samples/$record.ecg" --dialog all --out "$samples/dialogs/$record"
done

# Every other view over the record it belongs to, as its pane would show it
# (views/), and the prints and reports a host makes of them (printed/).
host="$build/bin/morvelance-host"
views="$samples/views" && mkdir -p "$views"
"$host" view "$samples/rest12_90.ecg" --view CViewRhythmWave --mode 1 --dividers 1,2,3 --png "$views/rest-dividers.png"
"$host" view "$samples/rest12_90.ecg" --view CViewDividerWave --png "$views/divider-strip.png"
# A freeze record whose leads carry every kind of electrode code: free leads at
# a fixed 10 mm/mV without a pulse, a lead without a code left out.
"$host" view "$samples/freeze_mixed_90.ecg" --view CViewRhythmWave --style 24 --png "$views/freeze-mixed.png"
"$host" view "$samples/rest12_90.ecg" --view CViewEnlargedWave --lead 1 --png "$views/enlarged-lead.png"
"$host" view "$samples/rest12_90.ecg" "$samples/rest12_80.ecg" --view CViewEnlargedOverlap --png "$views/enlarged-overlap.png"
for view in CViewDetailedMeas CViewQRSNo CViewQRSType; do
    "$host" view "$demo_record" --view "$view" --png "$views/$view.png"
done
for view in CViewRRHistogram CViewRRTrend CViewRRIntervalList CViewRRResult; do
    "$host" view "$samples/rr_90.ecg" --view "$view" --png "$views/$view.png"
    "$host" print "$samples/rr_90.ecg" --view "$view" --pdf "$samples/printed/$view.pdf"
done
# The master-step record made from a real recording when the PhysioNet data
# is at hand, else the synthetic one.
mstep="$samples/mstep244.ecg"
[ -f "$mstep" ] || mstep="$samples/mstep243.ecg"
for view in CViewFinalCom12Leads CViewHRTrend CViewSTTrend CViewSummaryProtocol; do
    "$host" view "$mstep" --view "$view" --png "$views/$view.png"
done
"$host" view "$mstep" --view CViewFinalCom1Lead --lead 1 --png "$views/CViewFinalCom1Lead.png"
"$host" view "$mstep" --view CViewFinalEnlargeWave --lead 1 --png "$views/CViewFinalEnlargeWave.png"
"$host" view "$samples/exercise_90.ecg" --view all --out "$views/exercise"
for form in CFormPatientInfo CFormInterpre CFormInterpreAme; do
    "$host" view "$samples/rest12_90.ecg" --view "$form" --png "$views/$form.png"
done
"$host" view "$samples/exercise_90.ecg" --view CFormInterpreExer --png "$views/CFormInterpreExer.png"
"$host" view "$mstep" --view CFormInterpreMsfr --png "$views/CFormInterpreMsfr.png"
"$host" view "$samples/rhythm_90.ecg" --view CFormInterpreRhyRR --png "$views/CFormInterpreRhyRR.png"
"$host" print "$samples/rest12_90.ecg" --report rest-wave --pdf "$samples/printed/report-rest-wave.pdf"
"$host" print "$samples/rhythm_90.ecg" --report rhythm-wave --pdf "$samples/printed/report-rhythm-wave.pdf"
echo "views in $views, prints and reports in $samples/printed"
# The page panes, every pane and page style that takes the record, as a host
# frame of 1920 x 1080 holds them: a record of every examination, MFER files
# of the resting, extra-lead and rhythm kinds, and a series of one patient's
# resting records compared side by side.
for record in rest12_90 rest15_90 rhythm_90 rr_90 extra6_90 extra3r_90 exercise_90 mstep243; do
    [ -f "$samples/$record.ecg" ] || continue
    "$host" pane "$samples/$record.ecg" --pane all --out "$samples/panes/$record"
done
for record in mfer12 mfer-extra4 mfer-rhythm15; do
    "$host" pane "$samples/$record.mwf" --pane all --out "$samples/panes/$record"
done
series="$samples/series"
"$build/bin/morvelance-mkrecord" series "$series" >/dev/null
"$host" pane "$series"/*.ecg --pane all --out "$samples/panes/series"
# The panels the page panes embed, and every report a host prints, each on
# the record it belongs to.
"$host" dialog "$samples/rest12_90.ecg" --dialog panels --png "$samples/dialogs/panels.png"
report() {  # NAME RECORD...
    local name=$1; shift
    "$host" print "$@" --report "$name" --pdf "$samples/printed/report-$name.pdf"
}
report rest-ame "$samples/rest12_90.ecg"
report rest-interpre "$samples/rest12_90.ecg"
report rhythm-comment "$samples/rhythm_90.ecg"
for name in rr-wave rr-result rr-list; do report "$name" "$samples/rr_90.ecg"; done
for name in extra-wave extra-comment; do report "$name" "$samples/extra6_90.ecg"; done
for name in serial-ave-mix serial-ave-ex serial-rhy; do report "$name" "$series"/*.ecg; done
echo "panes in $samples/panes, reports in $samples/printed"

# A page pane on a screen: an X server of the demo's own, the rhythm record's
# pane in its frame as `show` puts it there, a picture of the whole screen,
# then the frame and the server stopped.
screen_dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$screen_dir/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$screen_dir/display" ] && break; sleep 0.1; done
display=":$(cat "$screen_dir/display")"
DISPLAY=$display "$host" show "$samples/rhythm_90.ecg" --pane CWndRestRhythmWave --size 1500x900 &
shown=$!
if DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --name . >/dev/null; then
    sleep 2   # the first paint
    DISPLAY=$display import -window root "$samples/screen-rhythm.png"
    echo "the pane on a screen: $samples/screen-rhythm.png"
else
    echo "the pane did not come up on the demo's X server" >&2
fi
kill "$shown" "$xvfb" 2>/dev/null || true
wait "$shown" "$xvfb" 2>/dev/null || true
rm -rf "$screen_dir"
