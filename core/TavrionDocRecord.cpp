// Record access of the base document: the run-time loaded device-file reader,
// the data-item access with its text conversions, and reading record files
// into images.
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/EucSjis.h"
#include "core/FileItemInfo.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "platform/base/CodePage.h"
#include "platform/base/DateTime.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/mfer/MFERParser.h"

namespace {

const wchar_t kNewerReader[] = L"ZARN90.DLL";
const wchar_t kOlderReader[] = L"ZARN80.DLL";

// The folder an installed library keeps its readers in: "morvelance" beside
// the library's own file. Empty when the library's file is not known.
CString InstalledReaderFolder()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(&InstalledReaderFolder), &info) == 0 || !info.dli_fname) return CString();
    std::string file = info.dli_fname;
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return CString();
    file.resize(slash);
    return CString(platform::FromUtf8(file + "/morvelance").c_str());
}

// Loads a reader by name through the loader's search, then from the work
// directory, then from the installed library's own reader folder. Null when
// none loads.
HMODULE LoadReader(const wchar_t* name)
{
    HMODULE module = LoadLibraryW(name);
    if (module) return module;
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", name);
    module = LoadLibraryW(path);
    if (module) return module;
    static const CString installed = InstalledReaderFolder();
    if (installed.IsEmpty()) return nullptr;
    path.Format(L"%s/%s", installed.GetString(), name);
    return LoadLibraryW(path);
}

// Asks a loaded reader whether it accepts the image; the entry points are
// returned only when it does.
// An exported function taken by name; the generic pointer type is the one
// compilers accept as a stepping stone between function types.
template <class Fn> Fn EntryPoint(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool ProbeReader(HMODULE module, _ECGDATA* image, EF_GETDATA& getData, EF_SETDATA& setData)
{
    getData = EntryPoint<EF_GETDATA>(module, "efGetData");
    setData = EntryPoint<EF_SETDATA>(module, "efSetData");
    if (!getData || !setData) return false;
    return getData(image, ECG_TAG_PROBE, 0, nullptr, 0) != 0;
}

const wchar_t kCannotOpen[] = L"ECGファイル%sを開けません。";
const wchar_t kNotRecordFile[] = L"%sは不正なECGファイルです。";
const wchar_t kTooLarge[] = L"ECGファイル%sは大きすぎて開けません (too large)。";
const wchar_t kNoMemoryForRecord[] = L"メモリが足りないため、ECGファイル%sを開けません (not enough memory)。";
const wchar_t kNoMemory[] = L"メモリが足りないため、ECGファイルを開けません (not enough memory)。";
const wchar_t kErrorCaption[] = L"エラー";

bool IsFifteenLeadCode(unsigned code)
{
    const unsigned low = code & 0xFF;
    return low == 11 || low == 226 || low == 227;
}

// A zero-filled block for a blob of the record (size above 0), or null
// after telling that memory ran out: an open that fails for memory says so
// rather than leaving the record to look unreadable.
BYTE* NewBlob(long size)
{
    try {
        if (void* block = MemoryAlloc(static_cast<UINT>(size))) return static_cast<BYTE*>(block);
    } catch (const std::bad_alloc&) {
    }
    CTavrionMessage box(kNoMemory, 0, nullptr, kErrorCaption, MB_OK | MB_ICONERROR);
    return nullptr;
}

// The readers, loaded for as long as an image is read and probed. They are
// loaded before the image takes its memory: beside a long record's image a
// reader may find no room to be mapped in, and the record would look like
// one no reader accepts, where the image itself (larger than a reader) is
// refused for memory when the memory is short. A reader that has accepted
// an image stays loaded, and later reads map nothing.
class ReaderHold {
public:
    ReaderHold() : m_newer(LoadReader(kNewerReader)), m_older(LoadReader(kOlderReader)) {}
    ~ReaderHold()
    {
        if (m_newer) FreeLibrary(m_newer);
        if (m_older) FreeLibrary(m_older);
    }
    ReaderHold(const ReaderHold&) = delete;
    ReaderHold& operator=(const ReaderHold&) = delete;

private:
    HMODULE m_newer;
    HMODULE m_older;
};

}  // namespace

// ---- the device-file reader ------------------------------------------------------

int CTavrionDoc::LoadECGLibrary(_ECGDATA* image, _FILEITEM_INFO* info)
{
    if (info) info->bOldReader = 0;
    if (!image) return 0;

    EF_GETDATA getData = nullptr;
    EF_SETDATA setData = nullptr;
    if (HMODULE module = LoadReader(kNewerReader)) {
        if (ProbeReader(module, image, getData, setData)) {
            // The newer reader is told the build of the program that reads with it.
            CString build;
            GetVersionBuild(build);
            setData(image, ECG_TAG_BUILD, reinterpret_cast<UINT_PTR>(build.GetString()), nullptr, 0);
            image->pfnGetData = getData;
            image->pfnSetData = setData;
            return 1;
        }
        FreeLibrary(module);
    }
    if (HMODULE module = LoadReader(kOlderReader)) {
        if (ProbeReader(module, image, getData, setData)) {
            if (info) info->bOldReader = 1;
            image->pfnGetData = getData;
            image->pfnSetData = setData;
            return 1;
        }
        FreeLibrary(module);
    }
    return 0;
}

long CTavrionDoc::ecgGetData(_ECGDATA* image, UINT tag, UINT index, void* buffer, long length, _ECG_DATA_TYPE type)
{
    // An image that no reader accepted has no entry points to call.
    if (!image || !image->pfnGetData) return 0;
    if (type == ECG_DATA_RAW) return image->pfnGetData(image, tag, index, buffer, length);
    if (type != ECG_DATA_EUC_TEXT && type != ECG_DATA_SJIS_TEXT) return 0;
    if (!buffer) return image->pfnGetData(image, tag, index, nullptr, length);

    const size_t byteLength = length > 0 ? static_cast<size_t>(length) : 0;
    // Room for the EUC step, which turns every bare LF into CR LF.
    const size_t capacity = byteLength * 2 + 2;
    std::vector<char> bytes(capacity, '\0');
    const long answer = byteLength ? image->pfnGetData(image, tag, index, bytes.data(), length) : 0;

    if (tag == ECG_TAG_TRIMMED_TEXT) {
        for (size_t i = byteLength; i-- > 0 && bytes[i] == ' ';) bytes[i] = '\0';
    }
    if (type == ECG_DATA_EUC_TEXT) EucToSjis(bytes.data(), capacity);

    // The caller's wide buffer holds length + 1 characters: the decoded text
    // is cut there rather than written past it.
    std::wstring wide = platform::DecodeCodePage(932, bytes.data(), std::strlen(bytes.data()));
    if (wide.size() > byteLength) wide.resize(byteLength);
    wchar_t* out = static_cast<wchar_t*>(buffer);
    std::wmemcpy(out, wide.data(), wide.size());
    out[wide.size()] = L'\0';
    return answer;
}

long CTavrionDoc::ecgSetData(_ECGDATA* image, UINT tag, UINT index, void* data, long length, _ECG_DATA_TYPE type)
{
    if (!image || !image->pfnSetData) return 0;
    if (type == ECG_DATA_RAW) return image->pfnSetData(image, tag, index, data, length);
    if (type != ECG_DATA_EUC_TEXT && type != ECG_DATA_SJIS_TEXT) return 0;
    if (!data) return image->pfnSetData(image, tag, index, nullptr, length);

    const wchar_t* text = static_cast<const wchar_t*>(data);
    std::string encoded = platform::EncodeCodePage(932, text, std::wcslen(text));
    // The reader takes `length` bytes; past the text they are zero.
    std::vector<char> bytes(std::max(encoded.size() + 1, static_cast<size_t>(std::max(length, 0L))), '\0');
    std::memcpy(bytes.data(), encoded.data(), encoded.size());
    if (type == ECG_DATA_EUC_TEXT) SjisToEuc(bytes.data());
    return image->pfnSetData(image, tag, index, bytes.data(), length);
}

long CTavrionDoc::GetSampleItem(_ECGDATA* image, UINT tag, UINT index, short* buffer)
{
    const long size = ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    const long whole = size > 1 ? (size & ~1L) : 0;
    if (!buffer || whole == 0) return whole;
    return ecgGetData(image, tag, index, buffer, whole, ECG_DATA_RAW) == whole ? whole : 0;
}

int CTavrionDoc::euc2sjis(int type, char* text)
{
    if (type == ECG_DATA_SJIS_TEXT) return -1;
    if (!text) return 0;
    return EucToSjis(text, std::strlen(text) * 2 + 1);
}

int CTavrionDoc::sjis2euc(int type, char* text)
{
    if (type == ECG_DATA_SJIS_TEXT) return -1;
    if (!text) return 0;
    SjisToEuc(text);
    return static_cast<int>(std::strlen(text));
}

void CTavrionDoc::MFERGetData(wchar_t* out, const char* in)
{
    if (!out) return;
    if (!in) {
        out[0] = L'\0';
        return;
    }
    std::wstring wide = platform::DecodeCodePage(932, in, std::strlen(in));
    std::wmemcpy(out, wide.data(), wide.size());
    out[wide.size()] = L'\0';
}

// ---- reading record files into images ---------------------------------------------

CTavrionDoc::ImageRead CTavrionDoc::ReadImage(const CString& strFilePath, _ECGDATA*& pImage, _FILEITEM_INFO* info)
{
    pImage = nullptr;
    CFile file;
    if (!file.Open(strFilePath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return ImageRead::CannotOpen;
    const ULONGLONG length = file.GetLength();
    if (length < ECGDATA_MIN_FILE_LENGTH) return ImageRead::TooShort;
    // The image size travels in 32 bits, with the spare bytes on top.
    if (length > 0x7FFFFFFFull - ECGDATA_HEADER_SIZE - ECGDATA_SPARE) return ImageRead::TooLarge;
    const ReaderHold readers;

    // The allocator throws when it has no memory: that is a record there is
    // not the memory to open here, not a reason to end the program.
    _ECGDATA* image = nullptr;
    try {
        image = static_cast<_ECGDATA*>(MemoryAlloc(static_cast<UINT>(ECGDataBlockSize(length))));
    } catch (const std::bad_alloc&) {
        image = nullptr;
    }
    if (!image) return ImageRead::NoMemory;
    image->dwFileLength = static_cast<DWORD>(length);
    const UINT read = file.Read(image->byFileData, static_cast<UINT>(length));
    file.Close();
    if (read != length) {
        FreeECGData(image);
        return ImageRead::CannotOpen;
    }
    if (!LoadECGLibrary(image, info)) {
        FreeECGData(image);
        return ImageRead::NotAccepted;
    }
    pImage = image;
    return ImageRead::Ok;
}

void CTavrionDoc::ShowOpenError(ImageRead result, const CString& strFilePath)
{
    const wchar_t* format = nullptr;
    switch (result) {
    case ImageRead::CannotOpen: format = kCannotOpen; break;
    case ImageRead::TooShort: format = kNotRecordFile; break;
    case ImageRead::NoMemory: format = kNoMemoryForRecord; break;
    case ImageRead::TooLarge: format = kTooLarge; break;
    case ImageRead::Ok:
    case ImageRead::NotAccepted: return;
    }
    if (!format) return;
    CString text;
    text.Format(format, strFilePath.GetString());
    CTavrionMessage box(text, 0, nullptr, kErrorCaption, MB_OK | MB_ICONERROR);
}

BOOL CTavrionDoc::CheckRecordFile(const CString& strFilePath)
{
    CFile file;
    ImageRead result = ImageRead::Ok;
    if (!file.Open(strFilePath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        result = ImageRead::CannotOpen;
    else if (file.GetLength() < ECGDATA_MIN_FILE_LENGTH)
        result = ImageRead::TooShort;
    if (result == ImageRead::Ok) return TRUE;
    ShowOpenError(result, strFilePath);
    return FALSE;
}

int CTavrionDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    _DATAITEM* item = m_DataManager.GetItem(strXMLPath, strFilePath, CString());
    if (!item) return 1;
    CString xmlPath = strXMLPath;
    if (xmlPath.IsEmpty()) {
        xmlPath = CreateRawFileName(strFilePath, 0);
        if (xmlPath.IsEmpty()) return 1;
        NameRecordXML(xmlPath, strFilePath);
    }

    _ECGDATA* image = nullptr;
    if (ReadImage(strFilePath, image, nullptr) != ImageRead::Ok) return 1;
    BYTE code[100] = {};
    const long size = ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, nullptr, 0, ECG_DATA_RAW);
    const long want = std::min<long>(std::max<long>(size, 0), sizeof(code));
    const long got = want > 0 ? ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, code, want, ECG_DATA_RAW) : 0;
    const int result = got > 0 ? (code[0] | (code[1] << 8)) : 1;
    item->strXMLPath = xmlPath;
    FreeECGData(image);
    return result;
}

int CTavrionDoc::OpenMFERFile(CString& strMFERPath, CString& strXMLPath, CString& strThirdKey)
{
    _DATAITEM* item = m_DataManager.GetItem(strXMLPath, strMFERPath, strThirdKey);
    if (!item) return 1;
    CMFERParser reader;
    if (!reader.OpenMFER(strMFERPath)) return 1;
    MFER_ROOT* root = reader.GetMFERRoot();
    if (!root) return 1;
    const size_t length = strnlen(root->szDescription, sizeof(root->szDescription));
    CString description(std::string(root->szDescription, length).c_str());
    description.Trim();
    const int result = MFERSystemCode(description, reader.GetLeadCount());
    if (strXMLPath.IsEmpty()) {
        strXMLPath = CreateRawFileName(strThirdKey.IsEmpty() ? strMFERPath : strThirdKey, 1);
        NameRecordXML(strXMLPath, strMFERPath);
    }
    item->strXMLPath = strXMLPath;
    item->strThirdKey = strThirdKey;
    return result;
}

int CTavrionDoc::XMLTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind)
{
    // Opening errors are found before anything of the caller's is released.
    if (!CheckRecordFile(strFilePath)) return 255;
    DeleteContents();
    FreeECGData(pImage);
    const ImageRead result = ReadImage(strFilePath, pImage, nullptr);
    if (result != ImageRead::Ok) {
        ShowOpenError(result, strFilePath);
        return 255;
    }
    signed char kind = 0;
    if (ecgGetData(pImage, ECG_TAG_KIND, 0, &kind, 1, ECG_DATA_RAW) > 0) nKind = kind;
    return 0;
}

int CTavrionDoc::MFERTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind, int& bOldReader)
{
    if (!CheckRecordFile(strFilePath)) return 255;
    DeleteContents();
    FreeECGData(pImage);
    _FILEITEM_INFO info;
    const ImageRead result = ReadImage(strFilePath, pImage, &info);
    if (result != ImageRead::Ok) {
        ShowOpenError(result, strFilePath);
        return 255;
    }
    bOldReader = info.bOldReader;
    signed char kind = 0;
    if (ecgGetData(pImage, ECG_TAG_KIND, 0, &kind, 1, ECG_DATA_RAW) > 0) nKind = kind;

    if (!ReadFirstBlob(pImage)) {
        FreeECGData(pImage);
        return 255;
    }

    BYTE code[2] = {};
    const unsigned systemCode =
        ecgGetData(pImage, ECG_TAG_SYSTEM_CODE, 0, code, sizeof(code), ECG_DATA_RAW) > 0 ? (code[0] | (code[1] << 8)) : 0;
    const long secondSize =
        IsFifteenLeadCode(systemCode) ? ecgGetData(pImage, ECG_TAG_BLOB2, 0, nullptr, 0, ECG_DATA_RAW) : 0;
    if (secondSize > 0) {
        pImage->dwBlobSize += static_cast<DWORD>(secondSize);
        pImage->pBlob3855 = NewBlob(secondSize);
        if (!pImage->pBlob3855 ||
            ecgGetData(pImage, ECG_TAG_BLOB2, 0, pImage->pBlob3855, secondSize, ECG_DATA_RAW) < 1) {
            // The image is gone: report the failure rather than success with no image.
            FreeECGData(pImage);
            return 255;
        }
    }
    return 0;
}

BOOL CTavrionDoc::ReadFirstBlob(_ECGDATA* image, BOOL* pbNoMemory)
{
    if (pbNoMemory) *pbNoMemory = FALSE;
    if (!image) return FALSE;
    const long size = ecgGetData(image, ECG_TAG_BLOB1, 0, nullptr, 0, ECG_DATA_RAW);
    if (size < 1) return FALSE;
    BYTE* blob = NewBlob(size);
    if (!blob) {
        if (pbNoMemory) *pbNoMemory = TRUE;
        return FALSE;
    }
    if (ecgGetData(image, ECG_TAG_BLOB1, 0, blob, size, ECG_DATA_RAW) < 1) {
        MemoryFree(blob);
        return FALSE;
    }
    MemoryFree(image->pBlob3836);
    image->pBlob3836 = blob;
    image->dwBlobSize = static_cast<DWORD>(size);
    return TRUE;
}

int CTavrionDoc::MFERTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind)
{
    int bOldReader = 0;
    return MFERTransOpenFile(strFilePath, pImage, nKind, bOldReader);
}

namespace {

const int kStampDigits = 14;

CString StampedName(const CString& stem, const COleDateTime& time)
{
    CString path;
    path.Format(L"%s%04d%02d%02d%02d%02d%02d.xml", stem.GetString(), time.GetYear(), time.GetMonth(), time.GetDay(),
                time.GetHour(), time.GetMinute(), time.GetSecond());
    return path;
}

// The record XML name of `stem` at `time`, or at the first later second
// (within the hour) whose name is free for `record`: two record files of one
// stem (s.ecg and s.dat) named within the same second would otherwise get
// one record XML. A name on disk, waiting for its first write, or given to
// another record's new record XML belongs to another record. `last` is
// what is given back when no name is free.
CString FirstFreeName(const CString& stem, COleDateTime time, const CString& record, const CString& last)
{
    for (int tries = 0; tries < 3600 && time.GetStatus() == COleDateTime::valid; ++tries) {
        const CString path = StampedName(stem, time);
        if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES && !CECGXMLParser::IsSeeded(path) &&
            !CECGXMLParser::IsNamedForAnother(path, record))
            return path;
        time += COleDateTimeSpan(0, 0, 0, 1);
    }
    return last;
}

CString FileNameOf(const CString& path)
{
    const int separator = PathLastSeparator(path);
    return separator < 0 ? path : path.Mid(separator + 1);
}

}  // namespace

CString CTavrionDoc::CreateRawFileName(const CString& source, int bRaw)
{
    const int separator = PathLastSeparator(source);
    if (separator < 0) return CString();
    const CString folder = m_strTempStorePath.IsEmpty() ? source.Left(separator + 1) : m_strTempStorePath;
    CString name = source.Mid(separator + 1);
    if (bRaw) name = L"Raw_" + name;
    const int dot = name.ReverseFind(L'.');
    if (dot < 0) return CString();

    SYSTEMTIME now = {};
    GetLocalTime(&now);
    const COleDateTime time(now);
    const CString stem = folder + name.Left(dot);
    // With no free name in the hour, the first is given: its first write
    // then finds it taken and says so.
    return FirstFreeName(stem, time, source.Mid(separator + 1), StampedName(stem, time));
}

CString CTavrionDoc::NextRecordXMLName(const CString& taken)
{
    const int length = taken.GetLength();
    const int digits = length - 4 - kStampDigits;
    if (digits < 0 || taken.Right(4).CompareNoCase(L".xml") != 0) return CString();
    const CString stamp = taken.Mid(digits, kStampDigits);
    for (int i = 0; i < kStampDigits; ++i)
        if (stamp.GetAt(i) < L'0' || stamp.GetAt(i) > L'9') return CString();
    auto number = [&stamp](int first, int count) { return _wtoi(stamp.Mid(first, count)); };
    COleDateTime time;
    if (time.SetDateTime(number(0, 4), number(4, 2), number(6, 2), number(8, 2), number(10, 2), number(12, 2)) != 0)
        return CString();
    return FirstFreeName(taken.Left(digits), time + COleDateTimeSpan(0, 0, 0, 1), CString(), CString());
}

void CTavrionDoc::NameRecordXML(const CString& strXMLPath, const CString& strRecordPath)
{
    CECGXMLParser::NewFileOwner owner;
    owner.strXPath = kRecordFileXPath;
    owner.strName = FileNameOf(strRecordPath);
    owner.nextName = &CTavrionDoc::NextRecordXMLName;
    CECGXMLParser::NameNewFile(strXMLPath, std::move(owner));
}

const wchar_t* const CTavrionDoc::kRecordFileXPath = L"/Rawdata/Assist_info/Record_file";
const wchar_t* const CTavrionDoc::kRecordPatientIdAttribute = L"patient_id";
const wchar_t* const CTavrionDoc::kRecordAcquiredAttribute = L"acquired";

CString CTavrionDoc::GetRecordFileOfXML(const CString& strXMLPath)
{
    CString name;
    if (strXMLPath.IsEmpty() || GetFileAttributes(strXMLPath) == INVALID_FILE_ATTRIBUTES) return name;
    CECGXMLParser xml(strXMLPath, 0, CString());
    if (!xml.GetDataFromXMLDOM(name, kRecordFileXPath, 4, CString())) name.Empty();
    name.Trim();
    return name;
}

// ---- average beats -------------------------------------------------------------------

void CTavrionDoc::AdjustRestAveWaveBaseLine(_ECGDATA* image, short* samples, int lengthBytes)
{
    if (!image || !samples) return;
    if (ecgGetData(image, ECG_TAG_BASELINE, 0, nullptr, 0, ECG_DATA_RAW) <= 0) return;
    BYTE bytes[2] = {};
    short index = 120;
    if (ecgGetData(image, ECG_TAG_BASELINE, 0, bytes, sizeof(bytes), ECG_DATA_RAW) >= 2)
        index = static_cast<short>(bytes[0] | (bytes[1] << 8));
    const int count = lengthBytes / 2;
    if (index < 0 || index >= count || samples[index] == 0) return;
    const short base = samples[index];
    for (int i = 0; i < count; ++i) samples[i] = static_cast<short>(samples[i] - base);
}
