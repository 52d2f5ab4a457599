// Stand-in for the closed MFER reader library (MFER.dll): reads a file of
// the Medical waveform Format Encoding Rules into channels of 16-bit
// samples, the averaged beat of each lead when the file has them, and a
// root record. README.md in this folder gives the format as
// this reader takes it. Opening checks the whole file; the samples are
// converted only when first asked for, so a caller after the header alone
// (the file list) does not pay for them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/mfer/MferRoot.h"

// Why a file was refused; the position says where (byte offset in the file).
enum class MferStatus {
    Ok,
    NoFile,          // cannot be opened or read
    TooLarge,        // more samples or bytes than the reader keeps on any machine
    NoMemory,        // not the memory here to hold or describe the file
    BlockTooLong,    // a block longer than the bytes left in the file
    Truncated,       // a tag, length or value runs past the end
    BadLength,       // a length form the format does not have
    BadValue,        // a definition whose value cannot be used
    TooManyChannels,
    NoWaveform,      // no waveform data, or no channel with samples
};

class CMFERParser {
public:
    CMFERParser();
    ~CMFERParser();
    CMFERParser(const CMFERParser&) = delete;
    CMFERParser& operator=(const CMFERParser&) = delete;

    // Non-zero when the file was read as an MFER file.
    int OpenMFER(const wchar_t* path);
    // The same from bytes in memory (the fuzz target and tests use it).
    int OpenMFERFromMemory(const BYTE* data, size_t size);

    MFER_ROOT* GetMFERRoot();
    int GetLeadCount();
    CString GetLeadName(int channel);
    int GetLeadCode(int channel);
    // Waveform 0 is the recording, waveform 2 the averaged beat of each lead
    // (one length for all leads). Bytes per lead (two per sample); 0 for a
    // waveform the file lacks.
    int GetWaveLength(int waveform);
    // The lead's samples into a buffer of GetWaveLength bytes; 0 for a lead
    // or waveform the file lacks, and when there is no memory to convert the
    // recording. A lead of the recording is converted from the file's bytes
    // straight into the buffer; a 12-lead record stored as its eight
    // independent leads converts every lead on the first call.
    int GetWaveData(int waveform, int lead, BYTE* buffer);
    int GetWaveData(int waveform, int lead, short* buffer);
    CString GetFilter();
    double GetMeasureSense();
    double GetSamplingInterval();
    double GetSamplingFrequency();
    int GetWaveformType() const { return m_nWaveformType; }
    // True once the samples were converted (tests use it to see they were not).
    bool AreSamplesDecoded() const { return m_bRead; }

    MferStatus GetStatus() const { return m_status; }
    // Why the file was refused, in words (empty when it was read).
    static const wchar_t* StatusText(MferStatus status);
    size_t GetErrorPosition() const { return m_nErrorPos; }

    static const int kMaxChannels = 64;
    static const size_t kMaxFileSize = 256u * 1024u * 1024u;

protected:
    struct CChannelDef;   // the definitions in force for one channel
    struct CDefinitions;  // the definitions in force for the file or a group
    struct CWaveSet;      // what a read collects of one waveform
    struct CState;        // what a read collects
    class CKeptBytes;     // the file's bytes while the reader keeps them

    // Opening converts the averaged beats and only counts the recording; the
    // decoding pass converts the recording.
    enum class CPass { Open, Decode };

    static const int kRecording = 0;
    static const int kAveragedBeats = 2;

    void Reset();
    bool Parse(const BYTE* data, size_t size, CState& state);
    bool Fail(MferStatus status, size_t position);
    bool ReadFrame(CState& state, size_t pos, size_t end, int channel, bool indefinite, size_t* next);
    bool Define(CState& state, BYTE tag, const BYTE* value, size_t length, int channel, size_t pos);
    bool ReadGroup(CState& state, size_t pos, size_t end, bool indefinite, size_t* next, size_t tagPos);
    bool ReadWaveform(CState& state, const BYTE* value, size_t length, size_t pos);
    bool CheckBeat(const CState& state, size_t length, size_t sequenceBytes, size_t pos);
    static bool LongerThanOpened(const CState& state, const CWaveSet& set);
    static bool EndsInsideABlock(const CState& state, size_t length, size_t sequenceBytes);
    void TakeFirstFrame(CState& state, bool beat);
    static void CountFrame(const CState& state, CWaveSet& set, size_t sequences);
    static void DecodeFrame(const CState& state, CWaveSet& set, const BYTE* value, size_t sequences);
    static void DecodeChannel(const CState& state, int c, const BYTE* in, size_t sequences, size_t sequenceBytes,
                              short* out);
    void Finish(CState& state);
    void FinishBeats(CState& state);
    bool IsEightOfTwelve() const;
    void DeriveLimbLeadNames();
    static void DeriveLimbLeadSamples(std::vector<std::vector<short>>& waves);
    bool DecodeSamples();
    bool ReadKeptBytes(CState& state);
    void DecodeInto(std::vector<std::vector<short>>& waves);
    const std::vector<short>* Wave(int waveform, int lead);
    int Keep(std::unique_ptr<CKeptBytes> bytes);
    bool ReadsStraight(int lead) const;
    int DecodeLead(int lead, short* buffer);
    int CopyWave(int waveform, int lead, BYTE* buffer);

    const BYTE* m_pData;                      // bytes of the file while it is read
    size_t m_nDataSize = 0;                   // and their count
    std::unique_ptr<MFER_ROOT> m_pRoot;       // null until a file was read
    std::unique_ptr<CKeptBytes> m_bytes;      // the file; let go once m_waves is filled
    size_t m_nBytes = 0;                      // bytes up to its last waveform byte
    bool m_bSamples;                          // m_waves holds the converted samples
    bool m_bRead = false;                     // samples were converted (into m_waves or a caller's buffer)
    bool m_bDerived;                          // III, aVR, aVL, aVF are computed from I and II
    int m_nLeads;                             // leads the reader gives, derived ones included
    std::vector<std::vector<short>> m_waves;  // converted samples, one vector per lead; empty until asked for
    std::vector<std::vector<short>> m_beats;  // averaged beat per lead, converted on opening
    size_t m_nBeatSamples;                    // samples of the longest averaged beat; 0 without beats
    std::vector<int> m_leadCodes;             // MFER lead code per lead; 0 for none
    std::vector<std::wstring> m_leadNames;
    std::wstring m_strFilter;
    double m_dSense;                          // microvolts per sample unit
    double m_dInterval;                       // seconds per sample; 0 when unknown
    int m_nWaveformType;                      // MFER waveform code; 0 when absent
    MferStatus m_status;
    size_t m_nErrorPos;                       // byte offset where the read failed
};
