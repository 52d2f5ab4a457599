// Record files written by the record maker, read into images and accessed
// through the real reader libraries, as the host does.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "core/ECGData.h"
#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "documents/RestDataItem.h"
#include "platform/base/CodePage.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/support/TestSupport.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/Mkrecord.h"
#include "tools/RecordBuilder.h"

using namespace morvelance;
using testsupport::TempDir;
using testsupport::Wide;

namespace {

// The image is byte-packed: its members are compared by value (unary +),
// since binding references to them would be misaligned.

// Gives the tests the protected members of the document.
class CTestDoc : public CTavrionDoc {
public:
    using CTavrionDoc::CreateRawFileName;
    using CTavrionDoc::LoadECGLibrary;
    using CTavrionDoc::OpenRecordCommon;
};

std::string WriteRecord(const TempDir& dir, const std::string& name, rec::RecordKind kind,
                        zarn::Flavour flavour = zarn::Flavour::Newer90,
                        const std::function<void(RecordBuilder&)>& tweak = nullptr, int systemCode = -1)
{
    SynthOptions synth;
    synth.leads = kind == rec::RecordKind::Rest15 ? FifteenLeads() : StandardLeads();
    synth.seconds = 10.0;
    synth.heartRate = 72.0;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient.id = "ID-0042";
    ecg.patient.name = "山田 太郎";
    ecg.patient.department = "ABC";
    DeviceRecordOptions options;
    options.kind = kind;
    options.systemCode = systemCode;
    RecordBuilder builder = MakeDeviceRecord(ecg, options);
    if (tweak) tweak(builder);
    const std::string path = dir.File(name);
    builder.WriteFile(path, flavour);
    return path;
}

// Opens a record into an image the way the host does; null on failure.
_ECGDATA* OpenImage(CTavrionDoc& doc, const std::string& path, int* oldReader = nullptr)
{
    _ECGDATA* image = nullptr;
    int kind = -99, old = -1;
    if (doc.MFERTransOpenFile(Wide(path), image, kind, old) != 0) return nullptr;
    if (oldReader) *oldReader = old;
    return image;
}

std::vector<BYTE> Raw(CTavrionDoc& doc, _ECGDATA* image, UINT tag, UINT index = 0)
{
    const long size = doc.ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    std::vector<BYTE> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    if (size > 0) {
        EXPECT_EQ(doc.ecgGetData(image, tag, index, bytes.data(), size, ECG_DATA_RAW), size);
    }
    return bytes;
}

CString Text(CTavrionDoc& doc, _ECGDATA* image, UINT tag, _ECG_DATA_TYPE type = ECG_DATA_EUC_TEXT)
{
    const long size = doc.ecgGetData(image, tag, 0, nullptr, 0, type);
    std::vector<wchar_t> text(static_cast<size_t>(std::max(size, 0L)) + 1, L'\x7F');
    doc.ecgGetData(image, tag, 0, text.data(), size, type);
    return CString(text.data());
}

// Points the work directory at a folder holding only the given readers, and
// restores it afterwards.
class ScopedWorkDir {
public:
    explicit ScopedWorkDir(const std::vector<std::string>& readers)
    {
        for (const std::string& reader : readers)
            std::filesystem::copy_file(testsupport::ZarnDir() + "/" + reader, m_dir.File(reader));
        m_saved = g_pWorkDir;
        CString path = Wide(m_dir.Path());
        m_text.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_text.data();
    }
    ~ScopedWorkDir() { g_pWorkDir = m_saved; }

private:
    TempDir m_dir;
    std::vector<wchar_t> m_text;
    wchar_t* m_saved;
};

}  // namespace

TEST(RecordImage, OpensThroughTheNewerReaderAndKeepsTheBlobs)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "rest15.ecg", rec::RecordKind::Rest15);
    CTavrionDoc doc;
    int oldReader = -1;
    _ECGDATA* image = OpenImage(doc, path, &oldReader);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(oldReader, 0);
    EXPECT_NE(+image->pfnGetData, nullptr);
    EXPECT_NE(+image->pfnSetData, nullptr);
    EXPECT_EQ(+image->dwFileLength, std::filesystem::file_size(path));
    EXPECT_EQ(std::memcmp(image->byFileData, testsupport::ReadFileBytes(path).data(), image->dwFileLength), 0);
    ASSERT_NE(+image->pBlob3836, nullptr);
    ASSERT_NE(+image->pBlob3855, nullptr);   // a 15-lead record has the second blob
    const std::vector<BYTE> blob1 = Raw(doc, image, ECG_TAG_BLOB1);
    const std::vector<BYTE> blob2 = Raw(doc, image, ECG_TAG_BLOB2);
    EXPECT_EQ(+image->dwBlobSize, blob1.size() + blob2.size());
    EXPECT_EQ(std::memcmp(image->pBlob3836, blob1.data(), blob1.size()), 0);

    // Twelve leads by tag, the last three by their data ids 0..2, 10 s at 500 Hz each.
    for (UINT lead = 0; lead < 12; ++lead) EXPECT_EQ(Raw(doc, image, ECG_TAG_LEAD_BASE + lead).size(), 10000u);
    for (UINT index = 0; index < 3; ++index) EXPECT_EQ(Raw(doc, image, ECG_TAG_LEAD_BY_INDEX, index).size(), 10000u);
    FreeECGData(image);
    EXPECT_EQ(image, nullptr);
}

TEST(RecordImage, TheNewerReaderIsToldTheBuildText)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "rest.ecg", rec::RecordKind::Rest12);
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, path);
    ASSERT_NE(image, nullptr);
    CString expected;
    GetVersionBuild(expected);
    const std::vector<BYTE> sent = Raw(doc, image, ECG_TAG_BUILD);
    EXPECT_EQ(platform::FromUtf8(std::string(sent.begin(), sent.end()).c_str()), expected.str());
    FreeECGData(image);
}

TEST(RecordImage, FallsBackToTheOlderReaderWhichIsNotSentTheBuild)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "old.ecg", rec::RecordKind::Rest12, zarn::Flavour::Older80);
    CTavrionDoc doc;
    int oldReader = -1;
    _ECGDATA* image = OpenImage(doc, path, &oldReader);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(oldReader, 1);
    EXPECT_EQ(doc.ecgGetData(image, ECG_TAG_BUILD, 0, nullptr, 0, ECG_DATA_RAW), 0);
    EXPECT_EQ(Raw(doc, image, ECG_TAG_LEAD_BASE).size(), 10000u);
    FreeECGData(image);
}

TEST(RecordImage, OlderReaderAloneOpensOnlyOlderRecords)
{
    TempDir dir;
    const std::string newer = WriteRecord(dir, "new.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90);
    const std::string older = WriteRecord(dir, "old.ecg", rec::RecordKind::Rest12, zarn::Flavour::Older80);
    ScopedWorkDir workDir({"libzarn80.so"});
    CTestDoc doc;
    _FILEITEM_INFO info;
    info.bOldReader = 7;
    std::string bytes = testsupport::ReadFileBytes(older);
    std::vector<BYTE> block(ECGDataBlockSize(bytes.size()), 0);
    _ECGDATA* image = reinterpret_cast<_ECGDATA*>(block.data());
    image->dwFileLength = static_cast<DWORD>(bytes.size());
    std::memcpy(image->byFileData, bytes.data(), bytes.size());
    EXPECT_EQ(doc.LoadECGLibrary(image, &info), 1);
    EXPECT_EQ(info.bOldReader, 1);

    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(OpenImage(doc, newer), nullptr);   // no reader for it: refused without a message
    EXPECT_EQ(boxes.Count(), 0);
}

TEST(RecordImage, NoReaderAnywhereRefusesTheImage)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "rest.ecg", rec::RecordKind::Rest12);
    ScopedWorkDir workDir({});
    CTestDoc doc;
    std::string bytes = testsupport::ReadFileBytes(path);
    std::vector<BYTE> block(ECGDataBlockSize(bytes.size()), 0);
    _ECGDATA* image = reinterpret_cast<_ECGDATA*>(block.data());
    image->dwFileLength = static_cast<DWORD>(bytes.size());
    std::memcpy(image->byFileData, bytes.data(), bytes.size());
    _FILEITEM_INFO info;
    info.bOldReader = 7;
    EXPECT_EQ(doc.LoadECGLibrary(image, &info), 0);
    EXPECT_EQ(info.bOldReader, 0);
    EXPECT_EQ(+image->pfnGetData, nullptr);
    EXPECT_EQ(+image->pfnSetData, nullptr);
    EXPECT_EQ(doc.LoadECGLibrary(image, nullptr), 0);
    // Access to an image no reader accepted answers 0 instead of calling nothing.
    EXPECT_EQ(doc.ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, nullptr, 0, ECG_DATA_RAW), 0);
    EXPECT_EQ(doc.ecgSetData(image, ECG_TAG_SYSTEM_CODE, 0, nullptr, 0, ECG_DATA_RAW), 0);
}

TEST(RecordAccess, TextItemsAreConvertedFromEuc)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "text.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90,
                                         [](RecordBuilder& b) {
                                             b.SetText(4081, 0, "A\nB", TextEncoding::EucJp);
                                             b.SetText(4082, 0, "A\r\nB", TextEncoding::EucJp);
                                             b.SetText(4083, 0, "全角テキスト", TextEncoding::Cp932);
                                             b.SetText(3025, 0, "   ", TextEncoding::EucJp, 3, ' ');
                                         });
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Text(doc, image, 3002), L"山田 太郎");
    EXPECT_EQ(Text(doc, image, 3001), L"ID-0042");
    EXPECT_EQ(Text(doc, image, 4081), L"A\r\nB");
    EXPECT_EQ(Text(doc, image, 4082), L"A\r\nB");
    EXPECT_EQ(Text(doc, image, 4083, ECG_DATA_SJIS_TEXT), L"全角テキスト");
    // Trailing blanks of tag 3025 are removed, a value of blanks only is empty.
    EXPECT_EQ(Text(doc, image, 3025), L"");
    EXPECT_EQ(doc.ecgGetData(image, 3025, 0, nullptr, 0, ECG_DATA_EUC_TEXT), 3);
    // Other types are refused without asking the reader.
    wchar_t buffer[8] = {L'x'};
    EXPECT_EQ(doc.ecgGetData(image, 3001, 0, buffer, 7, static_cast<_ECG_DATA_TYPE>(2)), 0);
    EXPECT_EQ(buffer[0], L'x');
    EXPECT_EQ(doc.ecgGetData(nullptr, 3001, 0, buffer, 7, ECG_DATA_EUC_TEXT), 0);
    // An absent item still delivers an empty, terminated text.
    EXPECT_EQ(doc.ecgGetData(image, 4999, 0, buffer, 7, ECG_DATA_EUC_TEXT), 0);
    EXPECT_EQ(buffer[0], L'\0');
    FreeECGData(image);
}

TEST(RecordAccess, DepartmentTextLosesItsTrailingBlanks)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "dept.ecg", rec::RecordKind::Rest12);
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Text(doc, image, 3025), L"ABC");
    FreeECGData(image);
}

TEST(RecordAccess, TextReadsNeverPassTheCallersBuffer)
{
    TempDir dir;
    // Every LF grows by one byte in the conversion.
    const std::string lines(40, '\n');
    const std::string path = WriteRecord(dir, "lf.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90,
                                         [&](RecordBuilder& b) { b.SetText(4081, 0, lines, TextEncoding::EucJp); });
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, path);
    ASSERT_NE(image, nullptr);
    const long size = doc.ecgGetData(image, 4081, 0, nullptr, 0, ECG_DATA_EUC_TEXT);
    ASSERT_EQ(size, 41);
    // Exactly length + 1 characters, as callers size it (ASan checks the rest).
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[size + 1]);
    EXPECT_EQ(doc.ecgGetData(image, 4081, 0, buffer.get(), size, ECG_DATA_EUC_TEXT), size);
    EXPECT_EQ(std::wcslen(buffer.get()), static_cast<size_t>(size));
    EXPECT_EQ(buffer[0], L'\r');
    EXPECT_EQ(buffer[1], L'\n');
    // A short read still ends within its buffer.
    wchar_t small[5];
    EXPECT_EQ(doc.ecgGetData(image, 4081, 0, small, 4, ECG_DATA_EUC_TEXT), 4);
    EXPECT_EQ(std::wcslen(small), 4u);
    FreeECGData(image);
}

TEST(RecordAccess, WritesRoundTripThroughTheWrittenBackFile)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "edit.ecg", rec::RecordKind::Rest12);
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, path);
    ASSERT_NE(image, nullptr);

    wchar_t name[] = L"佐藤 花子ｱｲｳ";
    ASSERT_NE(doc.ecgSetData(image, 3002, 0, name, 40, ECG_DATA_EUC_TEXT), 0);
    wchar_t id[] = L"NEW-ID";
    ASSERT_NE(doc.ecgSetData(image, 4090, 0, id, 16, ECG_DATA_SJIS_TEXT), 0);
    short samples[3] = {1, -2, 3};
    ASSERT_NE(doc.ecgSetData(image, 3700, 0, samples, sizeof(samples), ECG_DATA_RAW), 0);
    EXPECT_EQ(doc.ecgSetData(image, 3700, 0, samples, sizeof(samples), static_cast<_ECG_DATA_TYPE>(3)), 0);
    ASSERT_NE(doc.ecgSetData(image, ECG_TAG_COMMIT, 0, nullptr, 0, ECG_DATA_RAW), 0);

    // The lead-name editors write the file back whole from the image.
    const std::string rewritten = dir.File("rewritten.ecg");
    {
        std::ofstream out(rewritten, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image->byFileData), image->dwFileLength);
    }
    FreeECGData(image);

    image = OpenImage(doc, rewritten);
    ASSERT_NE(image, nullptr);
    // Half-width katakana do not survive EUC; the text keeps its byte length.
    EXPECT_EQ(Text(doc, image, 3002).Trim(), L"佐藤 花子");
    EXPECT_EQ(Text(doc, image, 4090, ECG_DATA_SJIS_TEXT), L"NEW-ID");
    EXPECT_EQ(doc.ecgGetData(image, 4090, 0, nullptr, 0, ECG_DATA_RAW), 16);
    const std::vector<BYTE> lead = Raw(doc, image, 3700);
    ASSERT_EQ(lead.size(), sizeof(samples));
    EXPECT_EQ(std::memcmp(lead.data(), samples, sizeof(samples)), 0);
    FreeECGData(image);
}

TEST(RecordOpening, ShortAndMissingFilesShowTheirMessages)
{
    TempDir dir;
    const std::string short99 = dir.Write("short.ecg", std::string(99, 'x'));
    const std::string junk100 = dir.Write("junk.ecg", std::string(100, 'x'));
    CTavrionDoc doc;
    platform::ui::MessageBoxRecorder boxes;
    _ECGDATA* image = nullptr;
    int kind = 0;

    EXPECT_EQ(doc.XMLTransOpenFile(Wide(short99), image, kind), 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Wide(short99) + L"は不正なECGファイルです。");
    EXPECT_EQ(boxes.Last().caption, L"エラー");
    EXPECT_EQ(boxes.Last().type & MB_ICONMASK, MB_ICONERROR);

    EXPECT_EQ(doc.XMLTransOpenFile(Wide(dir.File("none.ecg")), image, kind), 255);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Last().text, L"ECGファイル" + Wide(dir.File("none.ecg")) + L"を開けません。");

    // 100 bytes go on to the readers, which refuse them without a message.
    EXPECT_EQ(doc.XMLTransOpenFile(Wide(junk100), image, kind), 255);
    EXPECT_EQ(doc.MFERTransOpenFile(Wide(junk100), image, kind), 255);
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(g_uDlgCount, 0u);
}

TEST(RecordOpening, TransOpenReplacesTheCallersImage)
{
    TempDir dir;
    const std::string rest = WriteRecord(dir, "rest.ecg", rec::RecordKind::Rest12);
    const std::string rr = WriteRecord(dir, "rr.ecg", rec::RecordKind::Rr);
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = -1;
    ASSERT_EQ(doc.XMLTransOpenFile(Wide(rest), image, kind), 0);
    EXPECT_EQ(kind, static_cast<int>(rec::RecordKind::Rest12));
    EXPECT_EQ(+image->pBlob3836, nullptr);   // this opening keeps no blob
    ASSERT_EQ(doc.XMLTransOpenFile(Wide(rr), image, kind), 0);   // the old image is released (ASan)
    EXPECT_EQ(kind, static_cast<int>(rec::RecordKind::Rr));
    FreeECGData(image);
}

TEST(RecordOpening, MissingFirstBlobFailsTheOpening)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "noblob.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90,
                                         [](RecordBuilder& b) { b.Remove(ECG_TAG_BLOB1, 0); });
    CTavrionDoc doc;
    _ECGDATA* image = nullptr;
    int kind = 0;
    EXPECT_EQ(doc.MFERTransOpenFile(Wide(path), image, kind), 255);
    EXPECT_EQ(image, nullptr);
}

TEST(RecordOpening, ProbeReturnsTheSystemCodeAndNamesTheRecordXml)
{
    TempDir dir;
    const std::string path = WriteRecord(dir, "b.dat", rec::RecordKind::Rest15, zarn::Flavour::Newer90, nullptr, 0x01E2);
    CTavrionDoc doc;
    CString xml, file = Wide(path);
    // Without an item for the file the probe does not even open it.
    EXPECT_EQ(doc.OpenFile(xml, file), 1);

    _DATAITEM* item = doc.GetDataManager().AppendItem(new _DATAITEM);
    item->strFilePath = file;
    EXPECT_EQ(doc.OpenFile(xml, file), 0x01E2);
    // The record XML is named after the record file and the time.
    const CString stem = Wide(dir.File("b"));
    ASSERT_EQ(item->strXMLPath.GetLength(), stem.GetLength() + 14 + 4);
    EXPECT_EQ(item->strXMLPath.Left(stem.GetLength()), stem);
    EXPECT_EQ(item->strXMLPath.SpanIncluding(L"0123456789").GetLength(), 0);
    EXPECT_EQ(item->strXMLPath.Mid(stem.GetLength(), 14).SpanIncluding(L"0123456789").GetLength(), 14);
    EXPECT_EQ(item->strXMLPath.Right(4), L".xml");

    // A given record XML path is kept; files no reader accepts give 1.
    CString named(L"/tmp/named.xml");
    item->strXMLPath = named;
    EXPECT_EQ(doc.OpenFile(named, file), 0x01E2);
    EXPECT_EQ(item->strXMLPath, named);
    const std::string junk = dir.Write("junk.ecg", std::string(500, '\0'));
    _DATAITEM* other = doc.GetDataManager().AppendItem(new _DATAITEM);
    other->strFilePath = Wide(junk);
    CString empty, junkPath = Wide(junk);
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(doc.OpenFile(empty, junkPath), 1);
    EXPECT_EQ(boxes.Count(), 0);   // the probe is silent
}

TEST(RecordOpening, RawFileNamesAreStampedAndNeedAnExtension)
{
    CTestDoc doc;
    CString name = doc.CreateRawFileName(CString(L"C:\\a\\b.dat"), 0);
    ASSERT_EQ(name.GetLength(), 6 + 14 + 4);
    EXPECT_EQ(name.Left(6), L"C:\\a\\b");
    EXPECT_EQ(name.Right(4), L".xml");
    EXPECT_EQ(doc.CreateRawFileName(CString(L"C:\\a\\b.dat"), 1).Left(9), L"C:\\a\\Raw_");
    EXPECT_EQ(doc.CreateRawFileName(CString(L"/rec/x.y.mwf"), 1).Left(12), L"/rec/Raw_x.y");
    EXPECT_EQ(doc.CreateRawFileName(CString(L"b.dat"), 0), L"");
    EXPECT_EQ(doc.CreateRawFileName(CString(L"C:\\a\\noext"), 0), L"");
    doc.SetTempStorePath(CString(L"/store/"));
    EXPECT_EQ(doc.CreateRawFileName(CString(L"C:\\a\\b.dat"), 0).Left(8), L"/store/b");
}

// s.ecg and s.dat named in one second would share one record XML: a name
// on disk, or waiting for its first write, is another record's.
TEST(RecordOpening, RawFileNamesAreNeverOnesAnotherRecordHolds)
{
    CTestDoc doc;
    TempDir dir;
    std::vector<CString> names;
    std::vector<std::shared_ptr<const void>> seeds;
    for (const char* record : {"s.ecg", "s.dat", "S.ECG", "s.ecg"}) {
        const CString name = doc.CreateRawFileName(Wide(dir.File(record)), 0);
        ASSERT_EQ(name.GetLength(), Wide(dir.File("s")).GetLength() + 14 + 4);
        for (const CString& taken : names) EXPECT_NE(name, taken);
        names.push_back(name);
        if (names.size() % 2) {
            std::ofstream(platform::ToUtf8(static_cast<LPCWSTR>(name))) << "<Rawdata/>";
        } else {
            seeds.push_back(CECGXMLParser::SeedNewFile(name, [](CECGXMLParser&) {}));
        }
    }
}

TEST(RecordAccess, AverageBeatsMoveToTheirBaseLine)
{
    TempDir dir;
    const std::string withBase = WriteRecord(dir, "base.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90,
                                             [](RecordBuilder& b) { b.SetInt16(ECG_TAG_BASELINE, 0, 2); });
    const std::string without = WriteRecord(dir, "nobase.ecg", rec::RecordKind::Rest12, zarn::Flavour::Newer90,
                                            [](RecordBuilder& b) { b.Remove(ECG_TAG_BASELINE, 0); });
    CTavrionDoc doc;
    _ECGDATA* image = OpenImage(doc, withBase);
    ASSERT_NE(image, nullptr);
    short wave[4] = {10, 20, 30, 40};
    doc.AdjustRestAveWaveBaseLine(image, wave, sizeof(wave));
    EXPECT_EQ(wave[0], -20);
    EXPECT_EQ(wave[2], 0);
    EXPECT_EQ(wave[3], 10);
    short zeroAtBase[3] = {5, 6, 0};
    doc.AdjustRestAveWaveBaseLine(image, zeroAtBase, sizeof(zeroAtBase));
    EXPECT_EQ(zeroAtBase[0], 5);
    short shortWave[2] = {5, 6};   // the index lies past the samples
    doc.AdjustRestAveWaveBaseLine(image, shortWave, sizeof(shortWave));
    EXPECT_EQ(shortWave[0], 5);
    doc.AdjustRestAveWaveBaseLine(nullptr, wave, sizeof(wave));
    FreeECGData(image);

    image = OpenImage(doc, without);
    ASSERT_NE(image, nullptr);
    short untouched[4] = {10, 20, 30, 40};
    doc.AdjustRestAveWaveBaseLine(image, untouched, sizeof(untouched));
    EXPECT_EQ(untouched[2], 30);
    FreeECGData(image);
}

TEST(RecordAccess, RealPtbRecordConvertedAndOpened)
{
    REQUIRE_SHARED_DATA(ptb, "physionet/ptb/s0010_re.hea");
    TempDir dir;
    const std::string out = dir.File("ptb.ecg");
    std::ostringstream log, err;
    ASSERT_EQ(RunMkrecord({"wfdb", "--record", ptb.substr(0, ptb.size() - 4), "--kind", "rest15", "--out", out}, log, err),
              0)
        << err.str();
    CTavrionDoc doc;
    _DATAITEM* item = doc.GetDataManager().AppendItem(new _DATAITEM);
    item->strFilePath = Wide(out);
    CString xml, file = Wide(out);
    const int code = doc.OpenFile(xml, file);
    EXPECT_EQ(code & 0xFF, 11);
    _ECGDATA* image = OpenImage(doc, out);
    ASSERT_NE(image, nullptr);
    // Lead II of the real record has a clear QRS: its range spans over 0.5 mV (400 units).
    const std::vector<BYTE> bytes = Raw(doc, image, ECG_TAG_LEAD_BASE + CTavrionDoc::GetDataLeadID(1, code));
    ASSERT_EQ(bytes.size(), 10000u);
    short hi = 0, lo = 0;
    EXPECT_EQ(doc.GetWaveMaxMin(reinterpret_cast<const short*>(bytes.data()), 5000, &hi, &lo), 1);
    EXPECT_GT(hi - lo, 400);
    FreeECGData(image);
}

// The opening every examination document starts with: the item keeps the
// new image; on failure it stays listed without the image, never left
// holding a freed one. (It was deleted once: the host that added it was left
// holding a freed item.)
TEST(RecordOpening, CommonOpeningFillsTheItemOrKeepsItWithoutAnImage)
{
    TempDir dir;
    const std::string good = WriteRecord(dir, "good.ecg", rec::RecordKind::Rest15);
    const std::string noBlob = WriteRecord(dir, "noblob.ecg", rec::RecordKind::Rest15, zarn::Flavour::Newer90,
                                           [](RecordBuilder& b) { b.Remove(ECG_TAG_BLOB1, 0); });
    const std::string junk = dir.Write("junk.ecg", std::string(300, 'j'));
    CTestDoc doc;
    CDataManager<_RESTDATAITEM> list;
    CString xml(L"/tmp/r.xml"), file = Wide(good);
    _RESTDATAITEM* item = nullptr;
    EXPECT_EQ(doc.OpenRecordCommon(list, xml, file, item), 1);   // not in the list
    EXPECT_EQ(item, nullptr);

    _RESTDATAITEM* added = list.AppendItem(new _RESTDATAITEM);
    added->strFilePath = file;
    added->strXMLPath = xml;
    ASSERT_EQ(doc.OpenRecordCommon(list, xml, file, item), 0);
    EXPECT_EQ(item, added);
    EXPECT_EQ(item->uSystemCode & 0xFF, 11u);
    EXPECT_EQ(item->nKind, static_cast<int>(rec::RecordKind::Rest15));
    EXPECT_EQ(item->strXMLPath, xml);
    ASSERT_NE(item->pECGData, nullptr);
    EXPECT_NE(+item->pECGData->pBlob3836, nullptr);
    // Opening again replaces the image (the old one is released: ASan).
    ASSERT_EQ(doc.OpenRecordCommon(list, xml, file, item), 0);

    for (const std::string& bad : {noBlob, junk}) {
        CString badFile = Wide(bad);
        _RESTDATAITEM* victim = list.AppendItem(new _RESTDATAITEM);
        victim->strFilePath = badFile;
        victim->strXMLPath = xml;
        platform::ui::MessageBoxRecorder boxes;
        EXPECT_EQ(doc.OpenRecordCommon(list, xml, badFile, item), 255);
        EXPECT_EQ(item, nullptr);
        EXPECT_EQ(boxes.Count(), 0);   // refused by the reader or without a blob: no message
        ASSERT_EQ(list.GetItem(xml, badFile, CString()), victim) << "the host's item was deleted";
        EXPECT_EQ(victim->pECGData, nullptr);
    }
    // The item of a record without a blob still took the record's kind and
    // system code.
    const _RESTDATAITEM* kept = list.GetItem(xml, Wide(noBlob), CString());
    EXPECT_EQ(kept->uSystemCode & 0xFF, 11u);
    EXPECT_EQ(kept->nKind, static_cast<int>(rec::RecordKind::Rest15));
    // A file too short to be a record: the message, and the item stays untouched.
    const std::string tiny = dir.Write("tiny.ecg", "short");
    CString tinyFile = Wide(tiny);
    list.AppendItem(new _RESTDATAITEM)->strFilePath = tinyFile;
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(doc.OpenRecordCommon(list, xml, tinyFile, item), 255);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_NE(list.GetItem(CString(), tinyFile, CString()), nullptr);
    list.FreeAll();
}
