// A record XML as an examination document uses it: the patient section read
// field by field, the display settings restored, one setting written back
// and the file saved. The record XML is the bundled rest sample's, in UTF-8
// and in Shift-JIS (argument 0 and 1), written once per benchmark.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "core/TavrionDoc.h"
#include "tools/RecordXml.h"

using namespace morvelance;

namespace {

// The patient section's fields as the patient forms read them: texts, and
// attributes of the coded and dated elements.
struct PatientRead {
    const wchar_t* pszPath;
    int nType;                 // 4 text, 2 attribute
    const wchar_t* pszAttrib;  // for type 2
};
const PatientRead kPatientReads[] = {
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Sex", 2, L"value"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Age", 2, L"year"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Age", 2, L"unit"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday", 2, L"year"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday", 2, L"month"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday", 2, L"day"},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia", 4, L""},
    {L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", 4, L""},
};

const wchar_t kGridTypePath[] = REFERENCE_DRAW_SETTING_PATH L"/Grid_type";

// The sample record XML in a file of its own, removed with the object.
class CSampleRecordXml {
public:
    explicit CSampleRecordXml(benchmark::State& state)
    {
        const bool shiftJis = state.range(0) != 0;
        m_path = "/tmp/morvelance-bench-" + std::to_string(getpid()) + (shiftJis ? "-sjis" : "-utf8") + ".xml";
        RecordXmlOptions options;
        options.encoding = shiftJis ? XmlEncoding::ShiftJis : XmlEncoding::Utf8;
        WriteSampleRecordXml(m_path, rec::RecordKind::Rest12, options);
        m_strPath = CString(m_path.c_str());
        state.SetLabel(shiftJis ? "Shift-JIS" : "UTF-8");
    }
    ~CSampleRecordXml() { std::remove(m_path.c_str()); }
    CSampleRecordXml(const CSampleRecordXml&) = delete;
    CSampleRecordXml& operator=(const CSampleRecordXml&) = delete;

    const CString& Path() const { return m_strPath; }

private:
    std::string m_path;
    CString m_strPath;
};

// Returns how many fields were read, so the reads cannot be left out.
int ReadPatient(CECGXMLParser& xml)
{
    int read = 0;
    CString value;
    for (const PatientRead& field : kPatientReads)
        read += xml.GetDataFromXMLDOM(value, field.pszPath, field.nType, field.pszAttrib) ? 1 : 0;
    return read;
}

// Writes the grid type, alternating, so every save has a change to write.
void WriteSettingAndSave(CECGXMLParser& xml, int cycle)
{
    xml.SetDataToXMLDOM(cycle % 2 ? L"1" : L"0", kGridTypePath, 4, CString());
    xml.SaveToXMLFile();
}

const int kPatientFields = static_cast<int>(sizeof(kPatientReads) / sizeof(kPatientReads[0]));

void BM_RecordXmlOpenAndReadPatient(benchmark::State& state)
{
    CSampleRecordXml file(state);
    {
        CECGXMLParser xml(file.Path(), 0, CString());
        if (ReadPatient(xml) != kPatientFields) {
            state.SkipWithError("the sample record XML lacks patient fields");
            return;
        }
    }
    for (auto _ : state) {
        CECGXMLParser xml(file.Path(), 0, CString());
        benchmark::DoNotOptimize(ReadPatient(xml));
    }
}
BENCHMARK(BM_RecordXmlOpenAndReadPatient)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RecordXmlUpDateReferenceInfo(benchmark::State& state)
{
    CSampleRecordXml file(state);
    CTavrionDoc doc;
    for (auto _ : state) {
        doc.UpDateReferenceInfo(file.Path());
        benchmark::DoNotOptimize(doc.GetDefaultReference().nGridType);
    }
}
BENCHMARK(BM_RecordXmlUpDateReferenceInfo)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RecordXmlWriteSettingAndSave(benchmark::State& state)
{
    CSampleRecordXml file(state);
    int cycle = 0;
    for (auto _ : state) {
        CECGXMLParser xml(file.Path(), 0, CString());
        WriteSettingAndSave(xml, cycle++);
    }
}
BENCHMARK(BM_RecordXmlWriteSettingAndSave)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One whole cycle: the patient fields, the display settings (the document
// opens the file itself, as it does), one setting written and the file saved.
void BM_RecordXmlCycle(benchmark::State& state)
{
    CSampleRecordXml file(state);
    CTavrionDoc doc;
    int cycle = 0;
    for (auto _ : state) {
        CECGXMLParser xml(file.Path(), 0, CString());
        benchmark::DoNotOptimize(ReadPatient(xml));
        doc.UpDateReferenceInfo(file.Path());
        WriteSettingAndSave(xml, cycle++);
    }
}
BENCHMARK(BM_RecordXmlCycle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
