// The record XML that accompanies a device record: patient data,
// interpretation fields with their editors and dates, additions, comment,
// measurements, Minnesota and IVREL rows, the record and wave sections, the
// RR and master-step reports, the system section, the display settings and
// annotations, as the examination documents read them and their savers write
// them (root "Rawdata"; tools/README.md lists every path).
//
// The writer also makes the awkward files the readers must survive: dates
// that do not exist, values at or past the limits the readers apply (for
// ordinary and for model-8000 records), and files with sections left out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/zarn/ZarnBuilder.h"
#include "tools/EcgRecord.h"
#include "tools/RecordTags.h"
#include "tools/XmlTree.h"

namespace morvelance {

// What the record XML is written for: the device record's own items.
struct RecordXmlSource {
    rec::RecordKind kind = rec::RecordKind::Rest12;
    uint16_t systemCode = 0;
    bool olderReader = false;      // accepted by libzarn80: a model-8000 record (the readers' stricter limits)
    PatientInfo patient;
    DateTime time;                 // acquisition time
    std::vector<LeadId> leads;     // by record lead number; Unknown for an unknown electrode code
    std::vector<int64_t> beats;    // R peaks, sample index at 500 Hz; empty for rest records
    double seconds = 0;            // length of the signals
    double heartRate = 0;          // beats per minute; 0 when unknown
};

// Sections that can be left out of the file.
enum class XmlSection {
    Patient,         // identity, age, birthday, height and weight, pressure, acquisition date, sub id
    Interpretation,  // medications, symptom ... technician, hospital, confirming doctor, editors
    Additions,
    Comment,
    Measurements,
    Analysis,        // Minnesota and IVREL rows, judgement, recommendation, analysis date
    Record,          // acquisition filter and sensitivity, master-step and trip information, unit version
    Wave,            // lead counts, lead codes, lead names
    Report,          // RR totals, RR50 table and RR list; master-step comparisons and trend
    System,
    Settings,        // /Rawdata/Assist_info
    Annotations,     // /Rawdata/Annotation
};
const char* SectionName(XmlSection section);  // "patient", "interpretation", ...
bool ParseSection(const std::string& name, XmlSection* section);
const std::vector<XmlSection>& AllSections();

enum class BadDate {
    None,
    Feb29,    // 2003-02-29, a day that does not exist
    Month13,  // month 13 of the acquisition year
};

// The lengths and counts the readers limit (a patient id of 20 bytes, 12 in a
// model-8000 record; trip counts of 999, 255 and 256 there; ...).
enum class ValueRange {
    Normal,
    AtLimit,    // every limited value exactly at its limit: read as valid
    OverLimit,  // every limited value one past it, and the fields a model-8000
                // record does not have written into one: read as invalid
};

enum class Coverage {
    OwnKind,    // the sections the record's kind has
    EveryKind,  // also those of every other kind: measurements, Minnesota and IVREL
                // rows, the RR, master-step and exercise reports; the one file
                // that holds a node for every path any form of the layout binds
};

// The doctor's confirmation as the readers find it: the confirming doctor
// and the confirmation date against the latest of the record's edit dates.
enum class Confirmation {
    Confirmed,     // confirmed after every edit (the default)
    EditedAfter,   // edited after it was confirmed: the confirmation date precedes the edits
    None,          // never confirmed: no confirming doctor, no confirmation date
};
const char* ConfirmationName(Confirmation confirmation);   // "confirmed", "edited", "none"
bool ParseConfirmation(const std::string& name, Confirmation* confirmation);

struct RecordXmlOptions {
    XmlEncoding encoding = XmlEncoding::Utf8;
    Coverage coverage = Coverage::OwnKind;
    // Every date element but "/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date",
    // which stays valid so that the readers' fallback to it can be seen.
    BadDate badDate = BadDate::None;
    ValueRange range = ValueRange::Normal;
    std::vector<XmlSection> omit;
    int annotations = -1;    // "Anno" elements; -1: two
    int additions = -1;      // "Addition_content" elements; -1: three (none in a model-8000 record)
    int minnesotaRows = -1;  // "Minnesota" elements; -1: all eight rows of the rest forms for rest kinds, else none
    int ivrelRows = -1;      // "Ivrel" elements; -1: all eleven rows for rest kinds, else none
    std::string trip;        // the first trip count as written ("*": not counted); empty: the default
    std::string tripTotal;   // the trip total as written; empty: the default
    // The time after the load ("/Rawdata/Tavrion/Record/Mstep_section/Load_time"),
    // which only the record of a load test carries: empty gives master-step
    // and exercise records "03:00" and every other record none; a time given
    // is written into a record of any kind (one taken after a load).
    std::string loadTime;
    Confirmation confirmation = Confirmation::Confirmed;
    // Measurements the recorder could not make: the R' duration row missing
    // in every lead ("****"), the R amplitude of aVF, the TUP finding of aVR
    // ("*"), SV1 ("*.***"), and the P duration of QRS type 0.
    bool missingMeasures = false;
    int qrsBeats = -1;           // beats in the QRS number table; -1: one per beat of the record
    // QRS types 0 to 5 in turn over the beats, and all six QRS-type rows
    // (else every beat is of type 1 and only type 0's row is written).
    bool mixedQrsTypes = false;
    // Beside the values the readers take, values they refuse (show as none or
    // leave out), each where the file has its element: a Minnesota code of no
    // valid form ("X-1", row 2), an IVREL row in an older wording of its code's
    // text (row 2) and one of a code in neither master list ("ZZ9", row 4), the
    // judgement in an older wording, an empty analysis date beside the valid
    // older one, a sex the lists do not hold ("M"), a birthday of the year
    // only, a medication without its list
    // index, the patient, comment and addition edit dates that do not exist
    // (2024-02-30), a systolic pressure past the readers' 1000 mmHg and a
    // weight past their 999.9 kg, an exercise maximum heart rate not measured
    // ("***") and a stop condition left empty.
    bool refused = false;
};

// The source of a device record's items; olderReader is the 8000 flag.
// Throws std::runtime_error when the items lack the system code.
RecordXmlSource SourceFromRecordItems(const zarn::ContainerBuilder& items, bool olderReader);
// The same from a record file. Returns false with a message on failure.
bool ReadRecordXmlSource(const std::string& recordPath, RecordXmlSource* source, std::string* error);

std::unique_ptr<XmlElement> MakeRecordXml(const RecordXmlSource& source, const RecordXmlOptions& options);
// Throws std::runtime_error when the file cannot be written.
void WriteRecordXml(const std::string& path, const RecordXmlSource& source, const RecordXmlOptions& options);

// Where the system looks for a record's XML: beside the record, the record's
// stem followed by a time "%04d%02d%02d%02d%02d%02d" and ".xml". The record
// maker uses the acquisition time, so that the name does not change between
// runs (the system uses the time of naming).
std::string RecordXmlPathFor(const std::string& recordPath, const DateTime& time);

// The record XML of the bundled sample record of a kind (see SampleRecords.h),
// for the newer reader or, with olderReader, the model-8000 flavour. Throws
// std::runtime_error on failure.
RecordXmlSource SampleRecordXmlSource(rec::RecordKind kind, bool olderReader = false);
void WriteSampleRecordXml(const std::string& path, rec::RecordKind kind,
                          const RecordXmlOptions& options = RecordXmlOptions(), bool olderReader = false);

}  // namespace morvelance
