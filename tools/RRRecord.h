// RR-interval records as the RR document reads them: the device record with
// its RR strip items (3817, one per strip lead, beside the rhythm items 3849
// the record maker writes for every strip) and the record XML with the RR
// report. Built on MakeDeviceRecord and WriteRecordXml.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/DeviceRecord.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordXml.h"

namespace morvelance {

namespace rec {
constexpr uint32_t kTagRrStripSamples = 3817;   // index = strip lead: int16 samples, 500 Hz, 1.25 uV/unit
}  // namespace rec

// Adds an RR strip item for every strip lead the builder holds (3849 index n
// becomes 3817 index n as well). Returns the number of leads copied.
int AddRRStripItems(RecordBuilder& builder);

// An RR record of the signals: MakeDeviceRecord with the RR kind plus the
// strip items and the additions flag (4108). Throws as MakeDeviceRecord does.
RecordBuilder MakeRRDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& options);

// Writes an RR record and its record XML (RecordXmlPathFor beside it unless
// xmlPath is given). Returns the record XML's path; throws on failure.
std::string WriteRRRecordFiles(const std::string& recordPath, const RecordBuilder& record,
                               const RecordXmlOptions& xmlOptions = RecordXmlOptions(),
                               const std::string& xmlPath = std::string());

// One interval of an RR report as the device lists it.
struct RRInterval {
    int ms = 800;          // the length; negative: the record gives none (no "data" attribute)
    bool marked = false;   // flag="true"
};

// The RR report of a record XML given interval by interval. The totals and
// the RR50 table (one row per minute of the intervals' running time, at most
// ten, lengths in seconds) are computed from the lengths the list gives.
struct RRReport {
    std::vector<RRInterval> intervals;
    int rr50Rows = -1;     // rows written; -1: one per minute begun, at most ten
};

// The report's RR50 table ("/Rawdata/Tavrion/Report/Rr50_info"): one row per
// minute of the intervals' running time, at most ten (rows >= 0: at most
// that many), with the lengths, their SD and the mean in seconds as the
// result table's headings state, the heart rate per minute, RR50 the count
// of successive lengths more than 50 ms apart and %RR50 its share in percent.
void AppendRR50Table(XmlElement& root, const std::vector<RRInterval>& list, int rows = -1);
// The report's interval list ("/Rawdata/Tavrion/Report/Rr_list") as given.
void AppendRRList(XmlElement& root, const std::vector<RRInterval>& list);

// count intervals around meanMs, spread by up to ±spreadMs in a fixed
// pseudo-random sequence of the seed; every tenth one is marked.
std::vector<RRInterval> MakeRRIntervals(int count, int meanMs, int spreadMs, unsigned seed = 1);

// As WriteRRRecordFiles, with the record XML's report replaced by `report`.
std::string WriteRRRecordFilesWithReport(const std::string& recordPath, const RecordBuilder& record,
                                         const RRReport& report,
                                         const RecordXmlOptions& xmlOptions = RecordXmlOptions(),
                                         const std::string& xmlPath = std::string());

// The RR record of a PhysioNet record with its beat annotations (PATH.atr,
// PATH without extension): the first `seconds` of the record (0: all of it),
// at most `leads` of its signals. False with a message when it cannot be read.
bool MakeRRRecordFromWfdb(const std::string& recordPath, double seconds, int leads, RecordBuilder* out,
                          std::string* error);

}  // namespace morvelance
