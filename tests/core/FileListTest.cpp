// The file list's reading of device records, MFER files and their companions.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/FileItemInfo.h"
#include "core/TavrionDoc.h"
#include "tests/support/TestSupport.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/ExtraRecord.h"
#include "tools/Hl7Header.h"
#include "tools/MferWriter.h"
#include "tools/RecordBuilder.h"

using namespace morvelance;
using testsupport::TempDir;
using testsupport::Wide;

namespace {

std::string WriteDevice(const TempDir& dir, const std::string& name, rec::RecordKind kind,
                        const std::function<void(RecordBuilder&)>& tweak = nullptr)
{
    SynthOptions synth;
    synth.leads = kind == rec::RecordKind::Rest15 ? FifteenLeads() : StandardLeads();
    synth.seconds = 10.0;
    synth.heartRate = 72.0;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient.id = "  ID-0042 ";
    ecg.patient.name = "山田 太郎";
    ecg.time = DateTime{2004, 2, 29, 13, 5, 9};
    DeviceRecordOptions options;
    options.kind = kind;
    RecordBuilder builder = MakeDeviceRecord(ecg, options);
    if (tweak)
        tweak(builder);
    const std::string path = dir.File(name);
    builder.WriteFile(path, zarn::Flavour::Newer90);
    return path;
}

std::string WriteMfer(const TempDir& dir, const std::string& name, MferKind kind, int leads,
                      const std::string& description = std::string(), bool withPatient = true)
{
    EcgRecord record = MferKindRecord(kind, leads, 2.0);
    record.patient.id = "M-7";
    record.patient.name = "佐藤";
    record.time = DateTime{2010, 5, 6, 7, 8, 9};
    MferOptions options;
    options.description = description.empty() ? MferDescription(kind) : description;
    options.patient = withPatient;
    const std::string path = dir.File(name);
    std::string error;
    EXPECT_TRUE(WriteMferFile(path, record, options, &error)) << error;
    return path;
}

std::string WriteHl7(const TempDir& dir, const Hl7HeaderOptions& options)
{
    PatientInfo patient;
    patient.id = "H-1";
    patient.name = "鈴木";
    const std::string path = dir.File("header.xml");
    std::string error;
    EXPECT_TRUE(WriteHl7Header(path, patient, DateTime{2004, 2, 29, 13, 5, 9}, options, &error)) << error;
    return path;
}

}  // namespace

TEST(FileList, ExtensionsDecideTheReader)
{
    TempDir dir;
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    info.nSystemCode = 77;
    EXPECT_EQ(77, doc.ReadFile(Wide(dir.File("a.xml")), L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(Wide(dir.File("noextension")), L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(Wide(dir.Write("short.ecg", std::string(99, 'x'))), L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(Wide(dir.File("missing.ecg")), L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(Wide(dir.File("a.xml")), L"", Wide(dir.File("nohl7.xml")), &info));
    EXPECT_EQ(1, doc.ReadFile(nullptr, L"", L"", &info));
    // A dot in a folder's name gives the file no extension.
    EXPECT_EQ(1, doc.ReadFile(L"/records/2024.04/noextension", L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(L"C:\\ECG.DATA\\noextension", L"", L"", &info));
}

// Every file the list cannot read comes back with its cause, so that the
// host can say what failed; a record it read has none.
TEST(FileList, AFileItCannotReadIsReturnedWithItsCause)
{
    TempDir dir;
    CTavrionDoc doc;
    auto causeOf = [&](const std::string& path, const std::string& hl7 = std::string()) {
        _FILEITEM_INFO info;
        doc.ReadFile(Wide(path), L"", Wide(hl7), &info);
        return info.failure;
    };
    EXPECT_EQ(FileListFailure::CannotOpen, causeOf(dir.File("missing.ecg")));
    EXPECT_EQ(FileListFailure::CannotOpen, causeOf(dir.File("missing.mwf")));
    EXPECT_EQ(FileListFailure::NotRecordFile, causeOf(dir.Write("short.ecg", std::string(99, 'x'))));
    EXPECT_EQ(FileListFailure::NotRecordFile, causeOf(dir.Write("junk.ecg", std::string(4000, 'x'))));
    EXPECT_EQ(FileListFailure::NotRecordFile, causeOf(dir.Write("junk.mwf", std::string(4000, 'x'))));
    EXPECT_EQ(FileListFailure::NotRecordFile, causeOf(dir.File("noextension")));
    EXPECT_EQ(FileListFailure::NoHl7Header, causeOf(dir.File("a.mwf"), dir.File("nohl7.xml")));
    const std::string odd = WriteDevice(dir, "rhythm.ecg", rec::RecordKind::Rhythm,
                                        [](RecordBuilder& b) { b.SetInt32(3847, 0, 8); });
    EXPECT_EQ(FileListFailure::NoSystemCode, causeOf(odd));
    EXPECT_EQ(FileListFailure::NoSystemCode, causeOf(WriteMfer(dir, "two.mwf", MferKind::Plain, 2)));
    // Past what the MFER reader takes on any machine (a sparse file: no room on disk).
    const std::string huge = dir.Write("huge.mwf", std::string(200, '\0'));
    std::filesystem::resize_file(huge, 300u << 20);
    EXPECT_EQ(FileListFailure::TooLarge, causeOf(huge));
    // Without a record to fill there is nothing to read.
    EXPECT_EQ(1, doc.ReadFile(Wide(huge), L"", L"", nullptr));

    // A file read after one that failed carries no cause of the other.
    _FILEITEM_INFO info;
    doc.ReadFile(Wide(dir.File("missing.ecg")), L"", L"", &info);
    ASSERT_NE(1, doc.ReadFile(Wide(WriteDevice(dir, "REST.ECG", rec::RecordKind::Rest12)), L"", L"", &info));
    EXPECT_EQ(FileListFailure::None, info.failure);
}

TEST(FileList, DeviceRecordIsListedFromItsOwnTexts)
{
    TempDir dir;
    const std::string path = WriteDevice(dir, "REST.ECG", rec::RecordKind::Rest12);
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    const int code = doc.ReadFile(Wide(path), L"", L"", &info);
    ASSERT_NE(1, code);
    EXPECT_EQ(code, info.nSystemCode);
    EXPECT_EQ(12, info.nLeadCount);
    EXPECT_EQ(CString(L"ID-0042"), info.strPatientID);
    EXPECT_EQ(CString(L"山田 太郎"), info.strPatientName);
    EXPECT_EQ(CString(L"2004/02/29 13:05:09"), info.strAcqTime);
    EXPECT_EQ(2004, info.dtAcqDate.GetYear());
}

// The list's lead count of an extra-lead record comes from the layout items,
// in whichever of the two forms the recorder wrote them; the record maker
// derives the same count from the layout on its own.
TEST(FileList, ExtraLeadRecordsListTheLeadTypeOfTheirLayoutInEitherRecordMode)
{
    TempDir dir;
    CTavrionDoc doc;
    const EcgRecord signals = SynthesizeExtraSignals(4.0);
    int listed = 0;
    for (ExtraLayout layout : {ExtraLayout::Three, ExtraLayout::ThreeRhythm, ExtraLayout::Six, ExtraLayout::SixRhythm,
                               ExtraLayout::Freeze}) {
        for (int mode : {1, 0}) {
            // The arrangement item of the other mode has no code for six leads and a strip.
            if (mode == 0 && layout == ExtraLayout::SixRhythm)
                continue;
            ExtraRecordOptions options;
            options.layout = layout;
            options.recordMode = mode;
            options.freezeLeads = 4;
            options.seconds = 4.0;
            options.rhythmSeconds = 8.0;
            const std::string path = dir.File("extra" + std::to_string(listed++) + ".ecg");
            MakeExtraLeadRecord(signals, options).items.WriteFile(path, zarn::Flavour::Newer90);
            _FILEITEM_INFO info;
            const int code = doc.ReadFile(Wide(path), L"", L"", &info);
            SCOPED_TRACE(testing::Message() << "layout " << static_cast<int>(layout) << ", mode " << mode);
            EXPECT_EQ(layout == ExtraLayout::Freeze ? 28 : 26, code & 0xFF);
            EXPECT_EQ(ExtraLeadType(layout, options.freezeLeads), info.nLeadCount);
        }
    }
}

TEST(FileList, RhythmRecordWithAnOddLeadCountIsRefused)
{
    TempDir dir;
    const std::string path = WriteDevice(dir, "rhythm.ecg", rec::RecordKind::Rhythm,
                                         [](RecordBuilder& b) { b.SetInt32(3847, 0, 8); });
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(1, doc.ReadFile(Wide(path), L"", L"", &info));
    EXPECT_EQ(1, info.nSystemCode);
}

TEST(FileList, InvalidTimeGivesStars)
{
    TempDir dir;
    const std::string path = WriteDevice(dir, "t.ecg", rec::RecordKind::Rest12, [](RecordBuilder& b) {
        b.SetRaw(3009, 0, {0xD3, 0x07, 13, 1, 0, 0, 0});
    });
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    doc.ReadFile(Wide(path), L"", L"", &info);
    EXPECT_EQ(CString(L"****/**/** **:**:**"), info.strAcqTime);
    EXPECT_EQ(1900, info.dtAcqDate.GetYear());
}

TEST(FileList, RecordXmlReplacesTheRecordTexts)
{
    TempDir dir;
    const std::string path = WriteDevice(dir, "x.ecg", rec::RecordKind::Rest12);
    const std::string xml = dir.Write(
        "x.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion><Inspection><Patient_section>"
                 "<Patient_id>XML-1</Patient_id><Acquition_date style=\"Date\" year=\"2020\" month=\"1\" day=\"2\" "
                 "hour=\"3\" minute=\"4\" second=\"5\"/></Patient_section></Inspection></Tavrion>"
                 "<Annotation><Anno/><Anno/></Annotation></Rawdata>");
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    info.strFurtherText = L"host";
    doc.ReadFile(Wide(path), Wide(xml), L"", &info);
    EXPECT_EQ(CString(L"XML-1"), info.strPatientID);
    EXPECT_TRUE(info.strPatientName.IsEmpty());
    EXPECT_EQ(CString(L"host"), info.strFurtherText);
    EXPECT_EQ(CString(L"2020/01/02 03:04:05"), info.strAcqTime);
    EXPECT_EQ(2, info.nAnnoCount);
}

TEST(FileList, RecordXmlWithoutAnnotationsKeepsTheHostsCount)
{
    TempDir dir;
    const std::string path = WriteDevice(dir, "y.ecg", rec::RecordKind::Rest12);
    const std::string xml = dir.Write("y.xml", "<?xml version=\"1.0\"?><Rawdata/>");
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    info.nAnnoCount = 9;
    doc.ReadFile(Wide(path), Wide(xml), L"", &info);
    EXPECT_EQ(9, info.nAnnoCount);
    EXPECT_EQ(CString(L"****/**/** **:**:**"), info.strAcqTime);
}

TEST(FileList, MferKindFollowsTheDescriptionAndLeadCount)
{
    TempDir dir;
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(0x7004, doc.ReadFile(Wide(WriteMfer(dir, "a.mwf", MferKind::Extra4, 4, "  mfr extra 4 leads ecg ")),
                                   L"", L"", &info));
    EXPECT_EQ(4, info.nLeadCount);
    EXPECT_EQ(CString(L"M-7"), info.strPatientID);
    EXPECT_EQ(CString(L"佐藤"), info.strPatientName);
    EXPECT_EQ(CString(L"2010/05/06 07:08:09"), info.strAcqTime);
    EXPECT_EQ(1, doc.ReadFile(Wide(WriteMfer(dir, "b.MWF", MferKind::Plain, 2)), L"", L"", &info));
    EXPECT_EQ(0x800C, doc.ReadFile(Wide(WriteMfer(dir, "c.mwf", MferKind::Plain, 12)), L"", L"", &info));
    EXPECT_EQ(0x7013, doc.ReadFile(Wide(WriteMfer(dir, "d.mwf", MferKind::Freeze, 3)), L"", L"", &info));
    EXPECT_EQ(1, doc.ReadFile(Wide(dir.Write("e.mwf", "not an mfer file")), L"", L"", &info));
}

TEST(FileList, MferWithoutPatientHasEmptyFields)
{
    TempDir dir;
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    info.strPatientID = L"stale";
    doc.ReadFile(Wide(WriteMfer(dir, "a.mwf", MferKind::Plain, 12, std::string(), false)), L"", L"", &info);
    EXPECT_TRUE(info.strPatientID.IsEmpty());
    EXPECT_TRUE(info.strPatientName.IsEmpty());
}

// Each patient field is read when the file holds it: a file with the id
// alone lists the id, one with the name alone lists no id.
TEST(FileList, MferPatientIdAndNameAreEachReadWhenTheFileHoldsThem)
{
    TempDir dir;
    const std::string with = testsupport::ReadFileBytes(WriteMfer(dir, "with.mwf", MferKind::Plain, 12));
    const std::string without =
        testsupport::ReadFileBytes(WriteMfer(dir, "without.mwf", MferKind::Plain, 12, std::string(), false));
    // The files differ by the name's definition and the id's, in that order.
    size_t at = 0;
    while (at < without.size() && with[at] == without[at]) ++at;
    ASSERT_LT(at + 2, with.size());
    ASSERT_EQ(static_cast<uint8_t>(with[at]), 0x81);
    const size_t nameLength = 2 + static_cast<uint8_t>(with[at + 1]);
    const std::string name = with.substr(at, nameLength);
    const std::string id = with.substr(at + nameLength, with.size() - without.size() - nameLength);
    ASSERT_EQ(static_cast<uint8_t>(id[0]), 0x82);
    CTavrionDoc doc;
    _FILEITEM_INFO idOnly;
    _FILEITEM_INFO nameOnly;
    doc.ReadFile(Wide(dir.Write("id.mwf", without.substr(0, at) + id + without.substr(at))), L"", L"", &idOnly);
    doc.ReadFile(Wide(dir.Write("name.mwf", without.substr(0, at) + name + without.substr(at))), L"", L"", &nameOnly);
    EXPECT_EQ(idOnly.strPatientID, L"M-7");
    EXPECT_TRUE(idOnly.strPatientName.IsEmpty());
    EXPECT_TRUE(nameOnly.strPatientID.IsEmpty());
    EXPECT_EQ(nameOnly.strPatientName, L"佐藤");
}

TEST(FileList, Hl7HeaderGivesThePatient)
{
    TempDir dir;
    const std::string mfer = WriteMfer(dir, "a.mwf", MferKind::Plain, 12);
    CTavrionDoc doc;
    _FILEITEM_INFO info;
    EXPECT_EQ(0x800C, doc.ReadFile(Wide(mfer), L"", Wide(WriteHl7(dir, Hl7HeaderOptions())), &info));
    EXPECT_EQ(CString(L"H-1"), info.strPatientID);
    EXPECT_EQ(CString(L"鈴木"), info.strPatientName);
    EXPECT_EQ(CString(L"2004/02/29 13:05:09"), info.strAcqTime);

    Hl7HeaderOptions zero;
    zero.rawTime = "00000000000000";
    zero.patientId = false;
    _FILEITEM_INFO bad;
    EXPECT_EQ(1, doc.ReadFile(Wide(mfer), L"", Wide(WriteHl7(dir, zero)), &bad));
    EXPECT_EQ(CString(L"****/**/** **:**:**"), bad.strAcqTime);
    EXPECT_EQ(CString(L"鈴木"), bad.strPatientName);
}

TEST(FileList, FdaExampleHeadersReadAsAbsentFields)
{
    REQUIRE_SHARED_DATA(example, "aecg/minimum_aecg.xml");
    REQUIRE_SHARED_DATA(empty, "aecg/empty.xml");
    TempDir dir;
    const std::string mfer = WriteMfer(dir, "a.mwf", MferKind::Plain, 12);
    CTavrionDoc doc;
    for (const std::string& header : {example, empty}) {
        _FILEITEM_INFO info;
        EXPECT_EQ(1, doc.ReadFile(Wide(mfer), L"", Wide(header), &info));
        EXPECT_EQ(CString(L"****/**/** **:**:**"), info.strAcqTime);
        EXPECT_TRUE(info.strPatientName.IsEmpty());
    }
}

// The base document's MFER probe: the system code from the description and
// the lead count, and the "Raw_" record XML named from the third key.
TEST(MferProbe, OpeningNamesTheRecordXmlAfterTheFileOrItsThirdKey)
{
    TempDir dir;
    CTavrionDoc doc;
    const std::string extra = WriteMfer(dir, "x.mwf", MferKind::Extra4, 4, "  mfr extra 4 leads ecg ");
    const std::string freeze = WriteMfer(dir, "f.mwf", MferKind::Freeze, 8);
    CString file = Wide(extra), xml, third;
    EXPECT_EQ(1, doc.OpenMFERFile(file, xml, third));   // no item for it: the file is not opened

    _DATAITEM* item = doc.GetDataManager().AppendItem(new _DATAITEM);
    item->strFilePath = file;
    EXPECT_EQ(0x7004, doc.OpenMFERFile(file, xml, third));
    const CString prefix = Wide(dir.File("Raw_x"));
    EXPECT_EQ(prefix, xml.Left(prefix.GetLength()));
    EXPECT_EQ(prefix.GetLength() + 14 + 4, xml.GetLength());
    EXPECT_EQ(xml, item->strXMLPath);

    // With a third key the name comes from it; a freeze file of 8 leads has no kind.
    CString freezeFile = Wide(freeze), freezeXml, source = Wide(dir.File("src.ecg"));
    _DATAITEM* second = doc.GetDataManager().AppendItem(new _DATAITEM);
    second->strFilePath = freezeFile;
    second->strThirdKey = source;   // the item is found by all three keys
    EXPECT_EQ(1, doc.OpenMFERFile(freezeFile, freezeXml, source));
    const CString raw = Wide(dir.File("Raw_src"));
    EXPECT_EQ(raw, freezeXml.Left(raw.GetLength()));
    EXPECT_EQ(source, second->strThirdKey);

    // A file that is no MFER file gives 1 and names nothing.
    const std::string junk = dir.Write("j.mwf", "not an mfer file");
    CString junkFile = Wide(junk), junkXml;
    _DATAITEM* third3 = doc.GetDataManager().AppendItem(new _DATAITEM);
    third3->strFilePath = junkFile;
    EXPECT_EQ(1, doc.OpenMFERFile(junkFile, junkXml, third));
    EXPECT_TRUE(junkXml.IsEmpty());
}
