#include "platform/mfer/MFERParser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"

namespace {

enum : BYTE {
    kTagZero = 0x00,
    kTagByteOrder = 0x01,
    kTagVersion = 0x02,
    kTagCharset = 0x03,
    kTagBlock = 0x04,
    kTagChannels = 0x05,
    kTagSequences = 0x06,
    kTagWaveformType = 0x08,
    kTagLead = 0x09,
    kTagDataType = 0x0A,
    kTagInterval = 0x0B,
    kTagSense = 0x0C,
    kTagOffset = 0x0D,
    kTagCompression = 0x0E,
    kTagFilter = 0x11,
    kTagNull = 0x12,
    kTagWave = 0x1E,
    kTagAttribute = 0x3F,
    kTagPreamble = 0x40,
    kTagGroup = 0x67,
    kTagEnd = 0x80,
    kTagPatientName = 0x81,
    kTagPatientId = 0x82,
    kTagTime = 0x85,
};

// Samples of all leads together that one file may hold: 2^27 samples, 256 MB
// once decoded to 16 bits (four hours of 15 leads at 500 Hz fit). A block has
// no bound of its own beyond the file: it is never longer than the bytes left.
const size_t kMaxTotalSamples = size_t(1) << 27;
const double kDefaultSense = 1.0;               // microvolts per unit when the file gives none
const int kDominantBeat = 9;                    // waveform type of a group holding averaged beats

// Bytes of one sample by data type code; 0 for a code this reader does not take.
size_t SampleSize(int dataType)
{
    static const size_t kSizes[] = {2, 2, 4, 1, 2, 1, 4, 4, 8};
    if (dataType < 0 || dataType >= int(sizeof(kSizes) / sizeof(kSizes[0]))) return 0;
    return kSizes[dataType];
}

uint64_t ReadUnsigned(const BYTE* p, size_t length, bool bigEndian)
{
    uint64_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        BYTE b = bigEndian ? p[i] : p[length - 1 - i];
        value = (value << 8) | b;
    }
    return value;
}

int64_t ReadSigned(const BYTE* p, size_t length, bool bigEndian)
{
    uint64_t value = ReadUnsigned(p, length, bigEndian);
    if (length == 0 || length >= 8) return int64_t(value);
    uint64_t sign = uint64_t(1) << (length * 8 - 1);
    if (value & sign) value |= ~((sign << 1) - 1);
    return int64_t(value);
}

double DecodeSample(const BYTE* p, int dataType, bool bigEndian)
{
    switch (dataType) {
    case 0: return double(ReadSigned(p, 2, bigEndian));
    case 1: case 4: return double(ReadUnsigned(p, 2, bigEndian));
    case 2: return double(ReadSigned(p, 4, bigEndian));
    case 3: return double(p[0]);
    case 5: return double(int8_t(p[0]));
    case 6: return double(ReadUnsigned(p, 4, bigEndian));
    case 7: {
        uint32_t bits = uint32_t(ReadUnsigned(p, 4, bigEndian));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return double(f);
    }
    case 8: {
        uint64_t bits = ReadUnsigned(p, 8, bigEndian);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default: return 0.0;
    }
}

short ClampToShort(double value)
{
    if (std::isnan(value)) return 0;
    double rounded = std::nearbyint(value);
    if (rounded > 32767.0) return 32767;
    if (rounded < -32768.0) return -32768;
    return short(rounded);
}

// Signed 16-bit samples of the given byte order into native shorts. Groups
// of a fixed count, so that the compiler vectorises the swap at -O2.
void CopySamples16(const BYTE* in, size_t count, bool bigEndian, short* out)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (!bigEndian) {
        std::memcpy(out, in, count * 2);
        return;
    }
#endif
    const int high = bigEndian ? 0 : 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (bigEndian) {
        constexpr size_t kGroup = 64;
        for (; count >= kGroup; count -= kGroup, in += 2 * kGroup, out += kGroup) {
            uint16_t words[kGroup];
            std::memcpy(words, in, sizeof words);
            for (size_t i = 0; i < kGroup; ++i)
                out[i] = short(uint16_t((words[i] << 8) | (words[i] >> 8)));
        }
    }
#endif
    for (size_t i = 0; i < count; ++i)
        out[i] = short(uint16_t((in[2 * i + high] << 8) | in[2 * i + 1 - high]));
}

// Names of the lead codes a resting or long-term record carries.
const wchar_t* LeadNameOfCode(int code)
{
    struct Entry { int code; const wchar_t* name; };
    static const Entry kNames[] = {
        {1, L"I"}, {2, L"II"}, {3, L"V1"}, {4, L"V2"}, {5, L"V3"}, {6, L"V4"}, {7, L"V5"}, {8, L"V6"},
        {9, L"V7"}, {11, L"V3R"}, {12, L"V4R"}, {13, L"V5R"}, {14, L"V6R"}, {15, L"V7R"},
        {16, L"X"}, {17, L"Y"}, {18, L"Z"}, {19, L"CC5"}, {20, L"CM5"},
        {61, L"III"}, {62, L"aVR"}, {63, L"aVL"}, {64, L"aVF"}, {65, L"-aVR"},
        {66, L"V8"}, {67, L"V9"}, {68, L"V8R"}, {69, L"V9R"},
    };
    for (const Entry& e : kNames)
        if (e.code == code) return e.name;
    return L"";
}

// The eight independent leads of a standard 12-lead record, in their order:
// I, II, V1-V6.
bool AreIndependentLeads(const std::vector<int>& codes)
{
    static const std::vector<int> kIndependent = {1, 2, 3, 4, 5, 6, 7, 8};
    return codes == kIndependent;
}

std::string TrimNul(const BYTE* p, size_t length)
{
    std::string text(reinterpret_cast<const char*>(p), length);
    size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

void CopyText(char* target, size_t capacity, const std::string& text)
{
    size_t n = std::min(capacity - 1, text.size());
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A code page 932 text cut to the field at a character's end: half a
// character would read as another (a "・"), and the list would show it.
void CopyShiftJisText(char* target, size_t capacity, const std::string& text)
{
    size_t n = 0;
    while (n < text.size()) {
        const size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(text[n])) && n + 1 < text.size() ? 2 : 1;
        if (n + width > capacity - 1) break;
        n += width;
    }
    CopyText(target, n + 1, text);
}

// Shift-JIS text of the file as wide text. Text in plain ASCII (a filter
// such as "100Hz", most lead names) is the same in both, and is widened here:
// the code-page converter is loaded on its first use, which costs a fresh
// process more than the rest of the open.
std::wstring FromShiftJis(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80) return platform::DecodeCodePage(932, text);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

struct CMFERParser::CChannelDef {
    bool bBlock = false;     uint32_t nBlock = 1;
    bool bDataType = false;  int nDataType = 0;
    bool bInterval = false;  double dInterval = 0;   // seconds per sample; 0 unknown
    bool bSense = false;     double dSense = 0;      // microvolts per unit
    bool bOffset = false;    double dOffset = 0;     // added to every raw value
    bool bNull = false;      double dNull = 0;       // raw value that marks a missing sample
    bool bLead = false;      int nLeadCode = 0;  std::string strLeadText;
};

// The definitions in force. A group is read with a copy of them, and what it
// defines ends with it.
struct CMFERParser::CDefinitions {
    bool bBigEndian = true;
    int nChannels = 1;
    bool bSequences = false;
    uint32_t nSequences = 0;
    CChannelDef parent;
    CChannelDef child[kMaxChannels];
    int nWaveformType = 0;
    std::string strWaveformText;

    uint32_t Block(int c) const { return child[c].bBlock ? child[c].nBlock : parent.nBlock; }
    int DataType(int c) const { return child[c].bDataType ? child[c].nDataType : parent.nDataType; }
    double Interval(int c) const { return child[c].bInterval ? child[c].dInterval : parent.dInterval; }
    double Sense(int c) const
    {
        if (child[c].bSense) return child[c].dSense;
        return parent.bSense ? parent.dSense : kDefaultSense;
    }
    double Offset(int c) const { return child[c].bOffset ? child[c].dOffset : parent.dOffset; }
    bool HasNull(int c) const { return child[c].bNull || parent.bNull; }
    double Null(int c) const { return child[c].bNull ? child[c].dNull : parent.dNull; }
    const CChannelDef* Lead(int c) const
    {
        if (child[c].bLead) return &child[c];
        if (c == 0 && parent.bLead) return &parent;
        return nullptr;
    }
    // Bytes of one sequence: a block of every channel.
    size_t SequenceBytes() const
    {
        size_t bytes = 0;
        for (int c = 0; c < nChannels; ++c) bytes += size_t(Block(c)) * SampleSize(DataType(c));
        return bytes;
    }
    size_t SequenceSamples() const
    {
        size_t samples = 0;
        for (int c = 0; c < nChannels; ++c) samples += size_t(Block(c));
        return samples;
    }
};

// One waveform of the file as a read collects it: the recording or the averaged beats.
struct CMFERParser::CWaveSet {
    std::vector<std::vector<short>> waves;   // converted samples, filled only when decoding
    std::vector<size_t> counts;              // samples per channel
    std::vector<int> leadCodes;
    std::vector<std::string> leadTexts;
};

struct CMFERParser::CState : CDefinitions {
    bool bUtf8 = false;
    std::string strPreamble, strFilter, strName, strId;
    bool bName = false, bId = false, bTime = false;
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0, nMs = 0, nUs = 0;
    bool bBaseSense = false;
    double dBaseSense = kDefaultSense;
    bool bInterval = false;
    double dInterval = 0;
    CPass pass = CPass::Open;
    bool bInGroup = false;
    CWaveSet record;                         // waveform 0
    CWaveSet beats;                          // waveform 2: converted as the file is opened
    size_t nTotalSamples = 0;                // both waveforms together
    size_t nWaveEnd = 0;                     // file offset just past the last waveform byte (or its group)
    size_t nSampleLimit = 0;                 // a decoding pass: samples a lead had when the file was opened
    int nTargetLead = -1;                    // a decoding pass for one lead: that lead (else every lead)
    short* pTarget = nullptr;                // and where its samples go, the lead's length long
};

// The bytes a decoding pass reads: the file mapped into memory, or a copy.
// A mapping takes no memory of its own and has nothing to clear, and only
// the pages a pass reads are brought in (the file list reads the tags
// alone). The file is checked to be whole before each pass over it, so that
// a file cut short by another program since it was opened fails the read
// rather than the program.
class CMFERParser::CKeptBytes {
public:
    CKeptBytes(const CKeptBytes&) = delete;
    CKeptBytes& operator=(const CKeptBytes&) = delete;
    ~CKeptBytes()
    {
        if (m_nMapped) ::munmap(const_cast<BYTE*>(m_pData), m_nMapped);
        if (m_fd >= 0) ::close(m_fd);
    }

    // The open file `fd` (kept, and closed with the bytes) of `size` bytes
    // mapped; null without the address space. A file that cannot be mapped
    // is read.
    static std::unique_ptr<CKeptBytes> Map(int fd, size_t size)
    {
        std::unique_ptr<CKeptBytes> bytes(new (std::nothrow) CKeptBytes());
        if (!bytes) {
            ::close(fd);
            return nullptr;
        }
        bytes->m_fd = fd;
        void* mapped = size ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
        if (mapped != MAP_FAILED) {
            bytes->m_pData = static_cast<const BYTE*>(mapped);
            bytes->m_nMapped = bytes->m_nSize = size;
            return bytes;
        }
        if (size && errno == ENOMEM) return nullptr;
        return bytes->ReadAll(size) ? std::move(bytes) : nullptr;
    }

    // A copy of `size` bytes; null without the memory.
    static std::unique_ptr<CKeptBytes> Copy(const BYTE* data, size_t size)
    {
        std::unique_ptr<CKeptBytes> bytes(new (std::nothrow) CKeptBytes());
        if (!bytes || !bytes->Allocate(size)) return nullptr;
        if (size) std::memcpy(bytes->m_copy.get(), data, size);
        return bytes;
    }

    const BYTE* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }
    // False once the mapped file is shorter than when it was mapped.
    bool Intact() const
    {
        struct stat info;
        return m_nMapped == 0 || (::fstat(m_fd, &info) == 0 && size_t(info.st_size) >= m_nMapped);
    }
    // False when a file that could not be mapped was not read whole.
    bool ReadWhole() const { return m_bWhole; }

private:
    CKeptBytes() = default;

    bool Allocate(size_t size)
    {
        // Every byte is written before it is read: the block is not cleared.
        m_copy.reset(new (std::nothrow) BYTE[size + 1]);
        m_pData = m_copy.get();
        m_nSize = size;
        return m_copy != nullptr;
    }

    bool ReadAll(size_t size)
    {
        if (!Allocate(size)) return false;
        size_t got = 0;
        while (got < size) {
            const ssize_t n = ::pread(m_fd, m_copy.get() + got, size - got, off_t(got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += size_t(n);
        }
        m_bWhole = got == size;
        m_nSize = got;
        return true;
    }

    const BYTE* m_pData = nullptr;
    size_t m_nSize = 0;
    size_t m_nMapped = 0;             // bytes mapped; 0 for a copy
    int m_fd = -1;
    bool m_bWhole = true;
    std::unique_ptr<BYTE[]> m_copy;
};

CMFERParser::CMFERParser()
    : m_pData(nullptr), m_bSamples(false), m_bDerived(false), m_nLeads(0), m_nBeatSamples(0),
      m_dSense(kDefaultSense), m_dInterval(0), m_nWaveformType(0),
      m_status(MferStatus::NoFile), m_nErrorPos(0)
{
}

CMFERParser::~CMFERParser() = default;

void CMFERParser::Reset()
{
    m_pRoot.reset();
    m_bytes.reset();
    m_nBytes = 0;
    m_bSamples = false;
    m_bRead = false;
    m_bDerived = false;
    m_nLeads = 0;
    m_waves.clear();
    m_beats.clear();
    m_nBeatSamples = 0;
    m_leadCodes.clear();
    m_leadNames.clear();
    m_strFilter.clear();
    m_dSense = kDefaultSense;
    m_dInterval = 0;
    m_nWaveformType = 0;
    m_status = MferStatus::NoFile;
    m_nErrorPos = 0;
}

int CMFERParser::OpenMFER(const wchar_t* path)
{
    Reset();
    if (path == nullptr) return 0;
    const std::string native = platform::NativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Fail(MferStatus::NoFile, 0), 0;
    }
    const size_t size = size_t(info.st_size);
    if (size > kMaxFileSize) {
        ::close(fd);
        return Fail(MferStatus::TooLarge, 0), 0;
    }
    std::unique_ptr<CKeptBytes> bytes = CKeptBytes::Map(fd, size);
    if (!bytes) return Fail(MferStatus::NoMemory, 0), 0;
    if (!bytes->ReadWhole()) return Fail(MferStatus::NoFile, bytes->Size()), 0;
    return Keep(std::move(bytes));
}

int CMFERParser::Keep(std::unique_ptr<CKeptBytes> bytes)
{
    try {
        std::unique_ptr<CState> state(new CState());
        if (!Parse(bytes->Data(), bytes->Size(), *state)) return 0;
        m_bytes = std::move(bytes);
        m_nBytes = state->nWaveEnd;
    } catch (const std::bad_alloc&) {
        // The file is read, but there is no memory to describe it: refused
        // for memory, nothing of it kept.
        const size_t position = m_nErrorPos;
        Reset();
        return Fail(MferStatus::NoMemory, position), 0;
    }
    return 1;
}

const wchar_t* CMFERParser::StatusText(MferStatus status)
{
    switch (status) {
    case MferStatus::Ok: return L"";
    case MferStatus::NoFile: return L"the file cannot be opened or read";
    case MferStatus::TooLarge: return L"the record is too large: more than 268,435,456 bytes, or more than 134,217,728 samples in all leads together";
    case MferStatus::NoMemory: return L"not enough memory for the record";
    case MferStatus::BlockTooLong: return L"a block is longer than the bytes left for it in the file";
    case MferStatus::Truncated: return L"a tag, length or value runs past the end of the file";
    case MferStatus::BadLength: return L"a length of a form the format does not have";
    case MferStatus::BadValue: return L"a definition with a value that cannot be used";
    case MferStatus::TooManyChannels: return L"more channels than the reader takes";
    case MferStatus::NoWaveform: return L"no waveform data, or no channel with samples";
    }
    return L"";
}

int CMFERParser::OpenMFERFromMemory(const BYTE* data, size_t size)
{
    Reset();
    if (data == nullptr && size != 0) return 0;
    if (size > kMaxFileSize) return Fail(MferStatus::TooLarge, 0), 0;
    // The caller's bytes need not outlive this call: the reader keeps its own.
    std::unique_ptr<CKeptBytes> bytes = CKeptBytes::Copy(data, size);
    if (!bytes) return Fail(MferStatus::NoMemory, 0), 0;
    return Keep(std::move(bytes));
}

bool CMFERParser::Fail(MferStatus status, size_t position)
{
    m_status = status;
    m_nErrorPos = position;
    return false;
}

bool CMFERParser::Parse(const BYTE* data, size_t size, CState& state)
{
    if (size == 0) return Fail(MferStatus::NoWaveform, 0);
    size_t next = 0;
    m_pData = data;
    m_nDataSize = size;
    bool ok = ReadFrame(state, 0, size, -1, false, &next);
    m_pData = nullptr;
    if (!ok) return false;
    if (state.record.counts.empty()) return Fail(MferStatus::NoWaveform, size);
    Finish(state);
    m_status = MferStatus::Ok;
    return true;
}

bool CMFERParser::DecodeSamples()
{
    if (m_bSamples) return true;
    if (!m_pRoot) return false;
    const MferStatus status = m_status;
    const size_t errorPos = m_nErrorPos;
    std::vector<std::vector<short>> waves;
    bool decoded = true;
    try {
        DecodeInto(waves);
    } catch (const std::bad_alloc&) {
        // No memory for the samples (sized by the record): nothing of the
        // attempt is kept, the file's bytes stay for a later one, and the
        // read that asked fails.
        decoded = false;
    }
    m_pData = nullptr;
    m_status = status;
    m_nErrorPos = errorPos;
    if (!decoded) return false;
    m_waves = std::move(waves);
    m_bytes.reset();
    m_nBytes = 0;
    m_bSamples = true;
    m_bRead = true;
    return true;
}

bool CMFERParser::ReadKeptBytes(CState& state)
{
    // The kept bytes were read whole once, so this read takes the same path
    // (a mapped file changed since is held to the lengths read then). It
    // stops at the last waveform, but a block length is held to the whole
    // file, as the open held it: the definitions before that end are judged
    // as they were, or a record that opened would fail its read.
    if (m_nBytes == 0 || !m_bytes) return false;
    state.pass = CPass::Decode;
    state.nSampleLimit = m_pRoot->dwSampleCount;
    m_pData = m_bytes->Data();
    m_nDataSize = m_bytes->Size();
    size_t next = 0;
    return m_bytes->Intact() && ReadFrame(state, 0, m_nBytes, -1, false, &next);
}

void CMFERParser::DecodeInto(std::vector<std::vector<short>>& waves)
{
    // It now converts what the open only counted.
    std::unique_ptr<CState> state(new CState());
    // Every lead grows to the record's length at most: one allocation each.
    std::vector<std::vector<short>>& record = state->record.waves;
    record.resize(size_t(m_nLeads > 0 && !m_bDerived ? m_nLeads : 8));
    for (std::vector<short>& wave : record) wave.reserve(m_pRoot->dwSampleCount);
    if (ReadKeptBytes(*state)) waves = std::move(record);
    waves.resize(m_bDerived ? 8 : size_t(m_nLeads));
    if (m_bDerived) DeriveLimbLeadSamples(waves);
}

bool CMFERParser::ReadFrame(CState& state, size_t pos, size_t end, int channel, bool indefinite, size_t* next)
{
    const BYTE* d = m_pData;
    while (pos < end) {
        if (indefinite && pos + 1 < end && d[pos] == 0 && d[pos + 1] == 0) {
            *next = pos + 2;
            return true;
        }
        size_t tagPos = pos;
        BYTE tag = d[pos++];
        if (tag == kTagZero) continue;   // filler between definitions
        if (tag == kTagEnd) {
            // The end belongs to the file: inside a channel attribute or a group it is damage.
            // An end without its length byte is the file cut one byte short.
            if (pos >= end) return Fail(MferStatus::Truncated, tagPos);
            *next = end;
            return channel < 0 && !state.bInGroup ? true : Fail(MferStatus::BadValue, tagPos);
        }
        int attributeChannel = -1;
        if (tag == kTagAttribute) {
            uint32_t number = 0;
            for (int i = 0;; ++i) {
                if (pos >= end) return Fail(MferStatus::Truncated, tagPos);
                if (i == 4) return Fail(MferStatus::TooManyChannels, tagPos);
                BYTE b = d[pos++];
                number = (number << 7) | (b & 0x7F);
                if (!(b & 0x80)) break;
            }
            if (number >= uint32_t(kMaxChannels)) return Fail(MferStatus::TooManyChannels, tagPos);
            attributeChannel = int(number);
        }
        if (pos >= end) return Fail(MferStatus::Truncated, tagPos);
        BYTE first = d[pos++];
        if (first == 0x80) {
            // Only channel attributes and groups may leave their length open; they end at 00 00.
            if ((tag != kTagAttribute && tag != kTagGroup) || channel >= 0) return Fail(MferStatus::BadLength, tagPos);
            const bool read = tag == kTagGroup ? ReadGroup(state, pos, end, true, &pos, tagPos)
                                               : ReadFrame(state, pos, end, attributeChannel, true, &pos);
            if (!read) return false;
            continue;
        }
        size_t length = first;
        if (first > 0x80) {
            size_t count = first & 0x7F;
            if (count > 4) return Fail(MferStatus::BadLength, tagPos);
            if (end - pos < count) return Fail(MferStatus::Truncated, tagPos);
            length = size_t(ReadUnsigned(d + pos, count, true));
            pos += count;
        }
        if (length > end - pos) return Fail(MferStatus::Truncated, tagPos);
        if (tag == kTagAttribute) {
            if (channel >= 0) return Fail(MferStatus::BadValue, tagPos);
            size_t ignored = 0;
            if (!ReadFrame(state, pos, pos + length, attributeChannel, false, &ignored)) return false;
        } else if (tag == kTagGroup) {
            if (channel >= 0) return Fail(MferStatus::BadValue, tagPos);
            size_t ignored = 0;
            if (!ReadGroup(state, pos, pos + length, false, &ignored, tagPos)) return false;
        } else if (!Define(state, tag, d + pos, length, channel, tagPos)) {
            return false;
        }
        pos += length;
    }
    if (indefinite) return Fail(MferStatus::Truncated, end);
    *next = end;
    return true;
}

bool CMFERParser::Define(CState& state, BYTE tag, const BYTE* value, size_t length, int channel, size_t pos)
{
    CChannelDef& def = channel < 0 ? state.parent : state.child[channel];
    const bool be = state.bBigEndian;
    switch (tag) {
    case kTagPreamble:
        if (channel < 0) state.strPreamble = TrimNul(value, length);
        return true;
    case kTagByteOrder:
        if (length == 0) { state.bBigEndian = true; return true; }
        if (value[0] > 1) return Fail(MferStatus::BadValue, pos);
        state.bBigEndian = value[0] == 0;
        return true;
    case kTagCharset: {
        std::string name = TrimNul(value, length);
        std::transform(name.begin(), name.end(), name.begin(), [](char c) { return char(std::toupper((unsigned char)c)); });
        state.bUtf8 = name.find("UTF-8") != std::string::npos || name.find("UTF8") != std::string::npos;
        return true;
    }
    case kTagChannels: {
        if (channel >= 0) return true;
        if (length == 0) { state.nChannels = 1; return true; }
        if (length > 4) return Fail(MferStatus::BadValue, pos);
        uint64_t n = ReadUnsigned(value, length, be);
        if (n == 0) return Fail(MferStatus::BadValue, pos);
        if (n > uint64_t(kMaxChannels)) return Fail(MferStatus::TooManyChannels, pos);
        state.nChannels = int(n);
        return true;
    }
    case kTagSequences:
        if (channel >= 0) return true;
        if (length == 0) { state.bSequences = false; return true; }
        if (length > 4) return Fail(MferStatus::BadValue, pos);
        state.bSequences = true;
        state.nSequences = uint32_t(ReadUnsigned(value, length, be));
        return true;
    case kTagBlock: {
        if (length == 0) { def.bBlock = false; def.nBlock = 1; return true; }
        if (length > 4) return Fail(MferStatus::BadValue, pos);
        uint64_t n = ReadUnsigned(value, length, be);
        if (n == 0) return Fail(MferStatus::BadValue, pos);
        // Every sample takes at least one byte: a block longer than the file
        // is a hostile length, whatever the data type.
        if (n > m_nDataSize - std::min(pos, m_nDataSize)) return Fail(MferStatus::BlockTooLong, pos);
        def.bBlock = true;
        def.nBlock = uint32_t(n);
        return true;
    }
    case kTagDataType:
        if (length == 0) { def.bDataType = false; def.nDataType = 0; return true; }
        if (SampleSize(value[0]) == 0) return Fail(MferStatus::BadValue, pos);
        def.bDataType = true;
        def.nDataType = value[0];
        return true;
    case kTagInterval:
    case kTagSense: {
        bool interval = tag == kTagInterval;
        if (length == 0) {
            (interval ? def.bInterval : def.bSense) = false;
            return true;
        }
        if (length < 3 || length > 6) return Fail(MferStatus::BadValue, pos);
        int unit = value[0];
        int exponent = int8_t(value[1]);
        double mantissa = double(ReadSigned(value + 2, length - 2, be));
        double amount = mantissa * std::pow(10.0, exponent);
        if (interval) {
            // Unit 0 gives a frequency in Hz, 1 an interval in seconds; a zero
            // or negative amount, or a distance (unit 2), leaves the rate unknown.
            double seconds = 0;
            if (amount > 0 && std::isfinite(amount)) seconds = unit == 0 ? 1.0 / amount : unit == 1 ? amount : 0;
            def.bInterval = true;
            def.dInterval = std::isfinite(seconds) ? seconds : 0;
        } else {
            if (!(amount > 0) || !std::isfinite(amount * 1e6)) return Fail(MferStatus::BadValue, pos);
            def.bSense = true;
            def.dSense = amount * 1e6;
        }
        return true;
    }
    case kTagOffset:
    case kTagNull: {
        bool offset = tag == kTagOffset;
        if (length > 8) return Fail(MferStatus::BadValue, pos);
        double number = length == 0 ? 0 : double(ReadSigned(value, length, be));
        if (offset) { def.bOffset = length != 0; def.dOffset = number; }
        else { def.bNull = length != 0; def.dNull = number; }
        return true;
    }
    case kTagCompression:
        if (length != 0 && ReadUnsigned(value, std::min<size_t>(length, 2), be) != 0)
            return Fail(MferStatus::BadValue, pos);
        return true;
    case kTagWaveformType:
        if (channel >= 0) return true;
        if (length == 0) { state.nWaveformType = 0; state.strWaveformText.clear(); return true; }
        state.nWaveformType = length == 1 ? value[0] : int(ReadUnsigned(value, 2, be));
        state.strWaveformText = length > 2 ? TrimNul(value + 2, length - 2) : std::string();
        return true;
    case kTagLead:
        if (length == 0) { def.bLead = false; def.nLeadCode = 0; def.strLeadText.clear(); return true; }
        def.bLead = true;
        def.nLeadCode = length == 1 ? value[0] : int(ReadUnsigned(value, 2, be));
        def.strLeadText = length > 2 ? TrimNul(value + 2, length - 2) : std::string();
        return true;
    case kTagFilter:
        state.strFilter = TrimNul(value, length);
        return true;
    case kTagPatientName:
        state.bName = length != 0;
        state.strName = TrimNul(value, length);
        return true;
    case kTagPatientId:
        state.bId = length != 0;
        state.strId = TrimNul(value, length);
        return true;
    case kTagTime:
        if (length == 0) { state.bTime = false; return true; }
        if (length < 7) return Fail(MferStatus::BadValue, pos);
        state.bTime = true;
        state.nYear = int(ReadUnsigned(value, 2, be));
        state.nMonth = value[2]; state.nDay = value[3];
        state.nHour = value[4]; state.nMinute = value[5]; state.nSecond = value[6];
        state.nMs = length >= 9 ? int(ReadUnsigned(value + 7, 2, be)) : 0;
        state.nUs = length >= 11 ? int(ReadUnsigned(value + 9, 2, be)) : 0;
        return true;
    case kTagWave:
        if (channel >= 0) return Fail(MferStatus::BadValue, pos);
        return ReadWaveform(state, value, length, pos);
    default:
        return true;   // tags this reader has no use for are skipped whole
    }
}

bool CMFERParser::ReadGroup(CState& state, size_t pos, size_t end, bool indefinite, size_t* next, size_t tagPos)
{
    // One level: a group inside a group has no meaning in this encoding.
    if (state.bInGroup) return Fail(MferStatus::BadValue, tagPos);
    const CDefinitions outside = state;
    const size_t waveEnd = state.nWaveEnd;
    state.bInGroup = true;
    const bool ok = ReadFrame(state, pos, end, -1, indefinite, next);
    state.bInGroup = false;
    static_cast<CDefinitions&>(state) = outside;
    // Decoding reads the kept bytes again: a group that held a waveform is
    // kept whole, so that the second read meets its end as the first did.
    if (ok && state.nWaveEnd != waveEnd) state.nWaveEnd = indefinite ? *next : end;
    return ok;
}

bool CMFERParser::ReadWaveform(CState& state, const BYTE* value, size_t length, size_t pos)
{
    const bool beat = state.bInGroup && state.nWaveformType == kDominantBeat;
    const size_t sequenceBytes = state.SequenceBytes();
    if (sequenceBytes == 0) return Fail(MferStatus::BadValue, pos);
    if (beat && !CheckBeat(state, length, sequenceBytes, pos)) return false;
    if (!beat && EndsInsideABlock(state, length, sequenceBytes)) return Fail(MferStatus::Truncated, pos);
    size_t sequences = length / sequenceBytes;
    if (state.bSequences) sequences = std::min<size_t>(sequences, state.nSequences);
    const size_t newSamples = sequences * state.SequenceSamples();   // samples, all leads together
    if (state.nTotalSamples + newSamples > kMaxTotalSamples) return Fail(MferStatus::TooLarge, pos);

    TakeFirstFrame(state, beat);
    CWaveSet& set = beat ? state.beats : state.record;
    CountFrame(state, set, sequences);
    if (state.pass == CPass::Decode && !beat && LongerThanOpened(state, set)) return Fail(MferStatus::BadValue, pos);
    state.nTotalSamples += newSamples;
    state.nWaveEnd = size_t(value - m_pData) + length;
    // The beats are small and asked for whole: they are converted as the
    // file is opened; the recording waits for its decoding pass.
    const bool convert = beat ? state.pass == CPass::Open : state.pass == CPass::Decode;
    if (convert) DecodeFrame(state, set, value, sequences);
    return true;
}

bool CMFERParser::LongerThanOpened(const CState& state, const CWaveSet& set)
{
    for (size_t count : set.counts)
        if (count > state.nSampleLimit) return true;
    return false;
}

bool CMFERParser::CheckBeat(const CState& state, size_t length, size_t sequenceBytes, size_t pos)
{
    // An averaged beat is whole or refused: one that needs more bytes than
    // its waveform holds is longer than the bytes left; data that ends
    // inside a beat, or holds fewer beats than declared, is cut short.
    if (state.bSequences && state.nSequences == 0) return Fail(MferStatus::BadValue, pos);
    if (length < sequenceBytes) return Fail(MferStatus::BlockTooLong, pos);
    const size_t whole = length / sequenceBytes;
    const bool cut = state.bSequences ? state.nSequences > whole : length % sequenceBytes != 0;
    return cut ? Fail(MferStatus::Truncated, pos) : true;
}

bool CMFERParser::EndsInsideABlock(const CState& state, size_t length, size_t sequenceBytes)
{
    // A recorder writes whole blocks (a short last block has a block length
    // of its own); data ending inside a block that is to be read was cut
    // short. Its channels would end at different times, the record shown
    // as whole with its end missing: refused, as a cut beat is.
    const size_t whole = length / sequenceBytes;
    return length % sequenceBytes != 0 && !(state.bSequences && state.nSequences <= whole);
}

void CMFERParser::TakeFirstFrame(CState& state, bool beat)
{
    // The file's resolution is that of the first channel of its first
    // waveform; channels of another resolution, and the beats, are brought to
    // it so one sensitivity fits all. The rate is the recording's.
    if (!state.bBaseSense) {
        state.bBaseSense = true;
        state.dBaseSense = state.Sense(0);
    }
    if (!beat && !state.bInterval) {
        state.bInterval = true;
        state.dInterval = state.Interval(0);
    }
}

void CMFERParser::CountFrame(const CState& state, CWaveSet& set, size_t sequences)
{
    const int channels = state.nChannels;
    if (int(set.counts.size()) < channels) {
        set.counts.resize(channels, 0);
        set.leadCodes.resize(channels, 0);
        set.leadTexts.resize(channels);
    }
    for (int c = 0; c < channels; ++c) {
        const CChannelDef* lead = state.Lead(c);
        if (lead) {
            set.leadCodes[c] = lead->nLeadCode;
            set.leadTexts[c] = lead->strLeadText;
        }
        set.counts[c] += sequences * state.Block(c);
    }
}

void CMFERParser::DecodeFrame(const CState& state, CWaveSet& set, const BYTE* value, size_t sequences)
{
    const int channels = state.nChannels;
    const size_t sequenceBytes = state.SequenceBytes();
    const bool one = state.pTarget != nullptr;
    if (!one && int(set.waves.size()) < channels) set.waves.resize(channels);
    // Channel by channel over all sequences of the frame: each channel's
    // samples sit at a fixed stride, and go straight into the end of its
    // lead (the caller's buffer when one lead is read, counted already).
    size_t channelStart = 0;
    for (int c = 0; c < channels; ++c) {
        const BYTE* in = value + channelStart;
        const size_t block = state.Block(c);
        channelStart += block * SampleSize(state.DataType(c));
        if (one && c != state.nTargetLead) continue;
        short* out;
        if (one) {
            out = state.pTarget + (set.counts[c] - sequences * block);
        } else {
            std::vector<short>& wave = set.waves[c];
            const size_t first = wave.size();
            wave.resize(first + sequences * block);
            out = wave.data() + first;
        }
        DecodeChannel(state, c, in, sequences, sequenceBytes, out);
    }
}

void CMFERParser::DecodeChannel(const CState& state, int c, const BYTE* in, size_t sequences, size_t sequenceBytes,
                                short* out)
{
    // The common 16-bit form with no scaling, offset or null value is a
    // plain byte-order loop the compiler vectorises.
    const int type = state.DataType(c);
    const size_t size = SampleSize(type);
    const size_t block = state.Block(c);
    const double scale = state.Sense(c) / state.dBaseSense;
    const double offset = state.Offset(c);
    const bool hasNull = state.HasNull(c);
    const double null = state.Null(c);
    if (type == 0 && scale == 1.0 && offset == 0.0 && !hasNull) {
        for (size_t s = 0; s < sequences; ++s, in += sequenceBytes, out += block)
            CopySamples16(in, block, state.bBigEndian, out);
        return;
    }
    for (size_t s = 0; s < sequences; ++s, in += sequenceBytes) {
        const BYTE* p = in;
        for (size_t i = 0; i < block; ++i, p += size) {
            const double raw = DecodeSample(p, type, state.bBigEndian);
            *out++ = hasNull && raw == null ? 0 : ClampToShort((raw + offset) * scale);
        }
    }
}

void CMFERParser::Finish(CState& state)
{
    CWaveSet& record = state.record;
    m_leadCodes = std::move(record.leadCodes);
    m_nLeads = int(record.counts.size());
    for (size_t c = 0; c < record.counts.size(); ++c) {
        const std::string& text = record.leadTexts[c];
        if (!text.empty())
            m_leadNames.push_back(state.bUtf8 ? platform::FromUtf8(text) : FromShiftJis(text));
        else
            m_leadNames.push_back(LeadNameOfCode(m_leadCodes[c]));
    }
    m_strFilter = state.bUtf8 ? platform::FromUtf8(state.strFilter) : FromShiftJis(state.strFilter);
    m_dSense = state.dBaseSense;
    m_dInterval = state.dInterval;
    m_nWaveformType = state.nWaveformType;
    m_bDerived = IsEightOfTwelve();
    if (m_bDerived) DeriveLimbLeadNames();
    FinishBeats(state);

    m_pRoot.reset(new MFER_ROOT());
    std::memset(m_pRoot.get(), 0, sizeof(MFER_ROOT));
    MFER_ROOT& root = *m_pRoot;
    const std::string& description = state.strPreamble.empty() ? state.strWaveformText : state.strPreamble;
    CopyText(root.szDescription, sizeof root.szDescription, description);
    // The root holds patient texts in code page 932, as the system decodes them.
    auto toRoot = [&state](const std::string& text) {
        return state.bUtf8 ? platform::EncodeCodePage(932, platform::FromUtf8(text)) : text;
    };
    CopyShiftJisText(root.szPatientName, sizeof root.szPatientName, toRoot(state.strName));
    CopyShiftJisText(root.szPatientId, sizeof root.szPatientId, toRoot(state.strId));
    root.dwPatientNamePresent = state.bName ? 1 : 0;
    root.dwPatientIdPresent = state.bId ? 1 : 0;
    if (state.bTime) {
        root.dwTimePresent = 1;
        root.nYear = short(state.nYear);
        root.byMonth = BYTE(state.nMonth);
        root.byDay = BYTE(state.nDay);
        root.byHour = BYTE(state.nHour);
        root.byMinute = BYTE(state.nMinute);
        root.bySecond = BYTE(state.nSecond);
        root.wMillisecond = WORD(state.nMs);
        root.wMicrosecond = WORD(state.nUs);
    }
    size_t samples = 0;
    for (size_t count : record.counts) samples = std::max(samples, count);
    root.dwSampleCount = DWORD(samples);
}

void CMFERParser::FinishBeats(CState& state)
{
    // Every beat reads with the length of the longest, a shorter one ending
    // on the baseline as it is copied out (padding here would let one long
    // channel multiply the memory by the channel count). A recording read as
    // twelve leads has twelve beats when the file gives the beats of its
    // eight independent leads.
    CWaveSet& beats = state.beats;
    m_beats = std::move(beats.waves);
    m_beats.resize(beats.counts.size());
    m_nBeatSamples = 0;
    for (const std::vector<short>& beat : m_beats) m_nBeatSamples = std::max(m_nBeatSamples, beat.size());
    if (m_nBeatSamples == 0) {
        m_beats.clear();
        return;
    }
    if (m_bDerived && AreIndependentLeads(beats.leadCodes)) DeriveLimbLeadSamples(m_beats);
}

bool CMFERParser::IsEightOfTwelve() const
{
    // A standard 12-lead record may carry only the eight independent leads;
    // the other four follow from I and II by Einthoven's and Goldberger's
    // relations, and the system expects all twelve.
    return m_nWaveformType == 1 && AreIndependentLeads(m_leadCodes);
}

void CMFERParser::DeriveLimbLeadSamples(std::vector<std::vector<short>>& waves)
{
    const std::vector<short>& one = waves[0];
    const std::vector<short>& two = waves[1];
    size_t n = std::max(one.size(), two.size());
    std::vector<short> iii(n), avr(n), avl(n), avf(n);
    for (size_t i = 0; i < n; ++i) {
        int a = i < one.size() ? one[i] : 0;
        int b = i < two.size() ? two[i] : 0;
        iii[i] = ClampToShort(b - a);
        avr[i] = ClampToShort(-(a + b) / 2);
        avl[i] = ClampToShort((2 * a - b) / 2);
        avf[i] = ClampToShort((2 * b - a) / 2);
    }
    std::vector<std::vector<short>> twelve;
    twelve.push_back(std::move(waves[0]));
    twelve.push_back(std::move(waves[1]));
    twelve.push_back(std::move(iii));
    twelve.push_back(std::move(avr));
    twelve.push_back(std::move(avl));
    twelve.push_back(std::move(avf));
    for (int c = 2; c < 8; ++c) twelve.push_back(std::move(waves[c]));
    waves = std::move(twelve);
}

void CMFERParser::DeriveLimbLeadNames()
{
    m_nLeads = 12;
    m_leadCodes = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
    std::vector<std::wstring> names;
    for (int code : m_leadCodes) names.push_back(LeadNameOfCode(code));
    for (int c = 0; c < 12; ++c) {
        int from = c < 2 ? c : c - 4;
        if (c >= 2 && c < 6) continue;
        names[c] = m_leadNames[from];
    }
    m_leadNames = std::move(names);
}

MFER_ROOT* CMFERParser::GetMFERRoot()
{
    return m_pRoot.get();
}

int CMFERParser::GetLeadCount()
{
    return m_nLeads;
}

CString CMFERParser::GetLeadName(int channel)
{
    if (channel < 0 || channel >= int(m_leadNames.size())) return CString();
    return CString(m_leadNames[channel].c_str());
}

int CMFERParser::GetLeadCode(int channel)
{
    if (channel < 0 || channel >= int(m_leadCodes.size())) return 0;
    return m_leadCodes[channel];
}

int CMFERParser::GetWaveLength(int waveform)
{
    // The lengths are known from the structure; they need no samples.
    if (!m_pRoot) return 0;
    if (waveform == kRecording) return int(m_pRoot->dwSampleCount) * 2;
    if (waveform == kAveragedBeats) return int(m_nBeatSamples * 2);
    return 0;
}

const std::vector<short>* CMFERParser::Wave(int waveform, int lead)
{
    if (!m_pRoot || lead < 0) return nullptr;
    if (waveform == kAveragedBeats) return size_t(lead) < m_beats.size() ? &m_beats[size_t(lead)] : nullptr;
    if (waveform != kRecording || lead >= m_nLeads) return nullptr;
    if (!DecodeSamples()) return nullptr;
    return &m_waves[size_t(lead)];
}

int CMFERParser::GetWaveData(int waveform, int lead, BYTE* buffer)
{
    // A buffer that can take shorts receives a lead straight from the file's bytes.
    if (buffer && reinterpret_cast<uintptr_t>(buffer) % alignof(short) == 0)
        return GetWaveData(waveform, lead, reinterpret_cast<short*>(buffer));
    return CopyWave(waveform, lead, buffer);
}

int CMFERParser::GetWaveData(int waveform, int lead, short* buffer)
{
    if (buffer && waveform == kRecording && ReadsStraight(lead)) return DecodeLead(lead, buffer);
    return CopyWave(waveform, lead, reinterpret_cast<BYTE*>(buffer));
}

int CMFERParser::CopyWave(int waveform, int lead, BYTE* buffer)
{
    const std::vector<short>* wave = buffer ? Wave(waveform, lead) : nullptr;
    if (!wave) return 0;
    const size_t total = size_t(GetWaveLength(waveform));
    const size_t have = wave->size() * 2;
    if (have) std::memcpy(buffer, wave->data(), have);
    // A lead that ended early in the file is padded with the baseline.
    std::memset(buffer + have, 0, total - have);
    return 1;
}

bool CMFERParser::ReadsStraight(int lead) const
{
    // Derived limb leads are computed from I and II together, and need them whole.
    return m_pRoot && !m_bSamples && !m_bDerived && lead >= 0 && lead < m_nLeads && m_nBytes != 0;
}

int CMFERParser::DecodeLead(int lead, short* buffer)
{
    // One lead is converted into the caller's buffer, with no copy of its own.
    const MferStatus status = m_status;
    const size_t errorPos = m_nErrorPos;
    size_t count = 0;
    bool ok = false;
    try {
        std::unique_ptr<CState> state(new CState());
        state->nTargetLead = lead;
        state->pTarget = buffer;
        ok = ReadKeptBytes(*state);
        if (ok && size_t(lead) < state->record.counts.size()) count = state->record.counts[size_t(lead)];
    } catch (const std::bad_alloc&) {
        ok = false;   // no memory for the definitions: the read that asked fails
    }
    m_pData = nullptr;
    m_status = status;
    m_nErrorPos = errorPos;
    if (!ok) return 0;
    m_bRead = true;
    // A lead that ended early in the file is padded with the baseline.
    const size_t total = size_t(GetWaveLength(kRecording)) / 2;
    std::fill(buffer + count, buffer + total, short(0));
    return 1;
}

CString CMFERParser::GetFilter()
{
    return CString(m_strFilter.c_str());
}

double CMFERParser::GetMeasureSense()
{
    return m_dSense;
}

double CMFERParser::GetSamplingInterval()
{
    return m_dInterval;
}

double CMFERParser::GetSamplingFrequency()
{
    return m_dInterval > 0 ? 1.0 / m_dInterval : 0.0;
}
