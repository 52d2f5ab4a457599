// Extra-lead records as the extra-lead document reads them: three or six
// extra leads (right chest, back or Frank leads) by lead index in item 3849,
// optionally a one-lead rhythm strip after them, the layout items 4092 to
// 4098, and the record XML with the lead codes, freeze lead names,
// acquisition settings and display settings of such a record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/DeviceRecord.h"
#include "tools/EcgRecord.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordXml.h"
#include "tools/XmlTree.h"

namespace morvelance {

// The recorder's layouts; the lead-count type of the document is 3, 4, 6 or
// 7 for the first four.
enum class ExtraLayout {
    Three,         // three extra leads
    ThreeRhythm,   // three extra leads and a rhythm strip (lead index 3)
    Six,           // six extra leads
    SixRhythm,     // six extra leads and a rhythm strip (lead index 6)
    Freeze,        // a freeze record: up to six leads EXT1..EXT6 (system code low byte 28)
    SixTwoSets,    // six extra leads as two sets of three, Extra1 and Extra2 (layout code 3)
};

// Data items of an extra-lead record besides those of every record.
namespace extratag {
constexpr uint32_t kTag3854 = 3854;       // u16 kept by the document
constexpr uint32_t kSpeedCode = 4092;     // i16: 0 5, 1 10, 2 12.5, 3 25, 4 50 mm/s
constexpr uint32_t kLayout = 4093;        // i16: layout code (mode 1), freeze lead count
constexpr uint32_t kArrangement = 4094;   // i16: 3, 6 or 259 (three leads and a strip), modes other than 1
constexpr uint32_t kMode = 4095;          // i16: record mode
constexpr uint32_t kExtraSet = 4098;      // i16: the lead set of single-set pages
constexpr uint32_t kAdditions = 4108;     // present when the record has additions
}  // namespace extratag

struct ExtraRecordOptions {
    ExtraLayout layout = ExtraLayout::Three;
    int systemCode = -1;        // -1: 26, or 28 for a freeze record
    int recordMode = 1;         // item 4095; 1 describes the layout in 4093, others in 4094
    int freezeLeads = 6;        // freeze records: 1 to 6
    // Freeze records: the electrode code (item 4097) of each lead by lead
    // index, -1 for a lead that has none; empty: 119 onwards (EXT1 to EXT6).
    std::vector<int> freezeCodes;
    int speedCode = 3;          // item 4092; -1 leaves it out
    int extraSet = 2;           // item 4098 (written for modes other than 1); -1 leaves it out
    uint16_t value3854 = 0x0102;
    double seconds = 10.0;      // the extra leads
    double rhythmSeconds = 60.0;   // the rhythm strip, which item 3700 also holds
    bool additions = true;      // item 4108
};

// A freeze record of six leads with every kind of electrode code a recorder
// writes: free leads drawn at a fixed gain (119 and 124), leads of their own
// electrodes (V4R and V9), a code past the free leads (125) and a lead
// without a code (lead index 3).
ExtraRecordOptions MixedFreezeRecordOptions();

// The extra leads of a layout, in the order of their lead index.
std::vector<LeadId> ExtraLeadsOf(ExtraLayout layout, int freezeLeads = 6);
// Lead-count type 3, 4, 6 or 7 of a layout; the freeze layout answers its lead count.
int ExtraLeadType(ExtraLayout layout, int freezeLeads = 6);
// The record's own page style the document derives from the layout.
int ExtraDefaultPageStyle(ExtraLayout layout);

// Synthetic signals for a layout: the twelve standard leads and the extra
// leads, `seconds` long at the given heart rate.
EcgRecord SynthesizeExtraSignals(double seconds, double heartRate = 68.0, uint64_t seed = 3);

struct ExtraLeadRecord {
    RecordBuilder items;
    RecordXmlSource source;       // what the record XML is written from
    std::vector<LeadId> leads;    // by lead index of item 3849 (the strip lead last)
    std::vector<int> codes;       // item 4097 by lead index; -1 where the lead has none
};

// The record from signals holding the standard leads (the strip lead is II)
// and the extra leads of the layout (the first found of V3R, V4R, V5R, V7,
// V8, V9, X, Y, Z). Throws std::runtime_error when the signals lack them.
ExtraLeadRecord MakeExtraLeadRecord(const EcgRecord& ecg, const ExtraRecordOptions& options);

// The extra-lead record of the maker's synth, wfdb and samples commands:
// the device record of `device` (kind ExtraLeads) with its extra leads by
// lead index from 0 and the layout items that give the document the same
// lead count: six extra leads when the signals have six or more (layout
// code 5), three when they have three to five (layout code 1), record mode 1;
// a freeze record (code 28) up to six, its count as its layout code.
// Throws std::runtime_error when the signals have too few.
ExtraLeadRecord MakeExtraDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& device);

// The display settings written into the record XML.
struct ExtraXmlSettings {
    int pageStyle = -1;          // -1: the layout's default page style
    std::string filter = "100";
    std::string speed = "25.0";
    std::string senseMode = "1";
    std::string extra1 = "10.00", extra2 = "10.00", rhythm = "10.00";
    std::string acqFilter = "100";
    std::string acqSense = "10.0";
};

std::unique_ptr<XmlElement> MakeExtraRecordXml(const ExtraLeadRecord& record, const ExtraRecordOptions& options,
                                               const RecordXmlOptions& xmlOptions = RecordXmlOptions(),
                                               const ExtraXmlSettings& settings = ExtraXmlSettings());

}  // namespace morvelance
