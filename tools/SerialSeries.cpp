#include "tools/SerialSeries.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "tools/MferWriter.h"
#include "tools/RecordTags.h"
#include "tools/RestRecord.h"

namespace morvelance {

namespace {

struct SeriesEntry {
    int code;          // system code; its low byte is the examination
    double heartRate;
};

// Rest, after the master step, after the load, in 12 and in 15 leads, and
// then again: ten examinations, the heart rate drifting so that the columns differ.
const SeriesEntry kSeries[] = {
    {0, 64}, {254, 88}, {255, 104}, {11, 66}, {226, 92}, {227, 110}, {0, 70}, {254, 86}, {255, 98}, {11, 72},
};

DateTime SeriesTime(int visit)
{
    DateTime time;
    time.year = 2023;
    time.month = 1 + visit;   // one visit a month through the year
    time.day = 10 + visit;
    time.hour = 9;
    time.minute = 5 * visit;
    return time;
}

RestRecordFiles WriteResting(const std::string& dir, const std::string& name, const SeriesEntry& entry,
                             const std::string& patient, const DateTime& time)
{
    RestRecordShape shape;
    const unsigned low = static_cast<unsigned>(entry.code) & 0xFF;
    shape.kind = low == 11 || low == 226 || low == 227 ? rec::RecordKind::Rest15 : rec::RecordKind::Rest12;
    shape.systemCode = entry.code;
    shape.heartRate = entry.heartRate;
    RecordBuilder items = MakeRestRecord(shape);
    items.SetText(rec::kTagPatientId, 0, patient, TextEncoding::EucJp, rec::kPatientIdSize);
    items.SetDateTime(rec::kTagAcquisitionTime, 0, time);
    return WriteRestRecord(dir, name, shape, items);
}

std::string WriteMfer(const std::string& dir, const std::string& name, int leads, const DateTime& time)
{
    EcgRecord ecg = MferKindRecord(MferKind::Plain, leads, 10.0, 500.0);
    ecg.patient.id = kSeriesPatient;
    ecg.time = time;
    MferOptions options;
    options.description = MferDescription(MferKind::Plain);
    const std::string path = dir + "/" + name;
    std::string error;
    if (!WriteMferFile(path, ecg, options, &error)) throw std::runtime_error(error);
    return path;
}

}  // namespace

std::vector<std::string> WriteSerialSeries(const std::string& dir, std::vector<std::string>* recordXmls)
{
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) throw std::runtime_error("cannot create " + dir);
    std::vector<std::string> files;
    auto add = [&](const std::string& record, const std::string& xml) {
        files.push_back(record);
        if (recordXmls) recordXmls->push_back(xml);
    };
    int visit = 0;
    for (const SeriesEntry& entry : kSeries) {
        char name[32];
        std::snprintf(name, sizeof name, "serial%02d_%d.ecg", visit + 1, entry.code);
        const RestRecordFiles written = WriteResting(dir, name, entry, kSeriesPatient, SeriesTime(visit));
        add(written.record, written.xml);
        ++visit;
    }
    const RestRecordFiles other =
        WriteResting(dir, "serial_other_0.ecg", SeriesEntry{0, 80}, kSeriesOtherPatient, SeriesTime(visit));
    add(other.record, other.xml);
    add(WriteMfer(dir, "serial_mfer12.mwf", 12, SeriesTime(visit + 1)), std::string());
    add(WriteMfer(dir, "serial_mfer15.mwf", 15, SeriesTime(visit + 1)), std::string());
    return files;
}

}  // namespace morvelance
