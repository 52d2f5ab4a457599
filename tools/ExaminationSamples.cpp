#include "tools/ExaminationSamples.h"

#include <sys/stat.h>

#include <cerrno>

#include <stdexcept>

#include "tools/ExerRecord.h"
#include "tools/ExtraRecord.h"
#include "tools/MasterStepRecord.h"
#include "tools/RecordXml.h"
#include "tools/RestRecord.h"
#include "tools/RhythmRecord.h"

namespace morvelance {

namespace {

void EnsureFolder(const std::string& dir)
{
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) throw std::runtime_error("cannot create " + dir);
}

std::string RestWithSpikes(const std::string& dir)
{
    RestRecordShape shape;
    shape.olderReader = true;
    shape.pacemaker = true;
    shape.heartRate = 66;
    return WriteRestRecord(dir, "rest12_pace_80.ecg", shape).record;
}

// Extended-family strips with a start time, as the newer rhythm recorders write them.
std::string ExtendedRhythm(const std::string& dir)
{
    RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = 120;
    shape.systemCode = 38;
    shape.heartRate = 92;
    shape.startMinute = 4;
    shape.startSecond = 30;
    shape.noise = true;
    shape.seed = 21;
    RecordXmlSource source;
    const RecordBuilder record = MakeRhythmRecord(shape, &source);
    const std::string path = dir + "/rhythm38_90.ecg";
    record.WriteFile(path, zarn::Flavour::Newer90);
    WriteRecordXml(RecordXmlPathFor(path, source.time), source, RecordXmlOptions());
    return path;
}

std::string Extra(const std::string& dir, const char* name, const ExtraRecordOptions& options)
{
    const ExtraLeadRecord record = MakeExtraLeadRecord(SynthesizeExtraSignals(options.rhythmSeconds), options);
    const std::string path = dir + "/" + name;
    record.items.WriteFile(path, zarn::Flavour::Newer90);
    WriteXmlFile(RecordXmlPathFor(path, record.source.time), *MakeExtraRecordXml(record, options), XmlEncoding::Utf8);
    return path;
}

std::string Extra(const std::string& dir, const char* name, ExtraLayout layout)
{
    ExtraRecordOptions options;
    options.layout = layout;
    return Extra(dir, name, options);
}

}  // namespace

std::vector<std::string> WriteExaminationSamples(const std::string& dir, const std::string& ptbRecord)
{
    EnsureFolder(dir);
    std::vector<std::string> records;
    records.push_back(RestWithSpikes(dir));
    records.push_back(ExtendedRhythm(dir));
    records.push_back(Extra(dir, "extra3r_90.ecg", ExtraLayout::ThreeRhythm));
    records.push_back(Extra(dir, "extra6_90.ecg", ExtraLayout::Six));
    records.push_back(Extra(dir, "extra6x2_90.ecg", ExtraLayout::SixTwoSets));
    records.push_back(Extra(dir, "freeze_90.ecg", ExtraLayout::Freeze));
    records.push_back(Extra(dir, "freeze_mixed_90.ecg", MixedFreezeRecordOptions()));
    for (const std::string& path : WriteMasterStepSamples(dir, ptbRecord)) records.push_back(path);
    ExerciseRecordOptions exercise;
    exercise.ptbRecord = ptbRecord;
    records.push_back(dir + "/exercise_90.ecg");
    WriteExerciseRecordFiles(records.back(), exercise);
    return records;
}

}  // namespace morvelance
