// CWaveItemRef: the current item of a waveform view's document, found once by
// the view's document kind. The views ask it for what they draw (system code,
// lead names, version, start time, the MFER reader) instead of telling the
// kinds apart themselves.
#pragma once

#include "platform/base/Strings.h"

class CDocument;
class CMFERParser;
struct _RESTDATAITEM;
struct _FINALDATAITEM;
struct _RHYTHMDATAITEM;
struct _RRDATAITEM;
struct _EXTRADATAITEM;
struct _MFERDATAITEM;
struct _ANNOTATION_INFO;

class CWaveItemRef {
public:
    // The current item of `doc` for the document kind (_DOC_TYPE); empty
    // when the document is not of that kind or has no current item.
    static CWaveItemRef Of(CDocument* doc, int docType);

    explicit operator bool() const { return m_pAny != nullptr; }
    int GetDocType() const { return m_nDocType; }
    _RESTDATAITEM* Rest() const { return m_pRest; }
    _RHYTHMDATAITEM* Rhythm() const { return m_pRhythm; }
    _RRDATAITEM* RR() const { return m_pRR; }
    _EXTRADATAITEM* Extra() const { return m_pExtra; }
    _MFERDATAITEM* Mfer() const { return m_pMfer; }

    // The record's system code (for MFER items the lead-system code); 0 without an item.
    unsigned GetSystemCode() const;
    CString GetVersionText() const;
    // The display name of lead index 0..14; empty without one.
    CString GetLeadName(int lead) const;
    // The head record of the item's annotation chain (page style -1), null without one.
    _ANNOTATION_INFO* GetAnnoHead() const;
    // The MFER reader of an MFER item, else null.
    CMFERParser* GetReader() const;
    // Whether the page's start time is shown: only 12/15-lead MFER files not
    // described as a rhythm recording say no.
    bool IsStartTimeShown() const;
    // The recording's start within the hour (rhythm, RR, extra and MFER items; 0:00 for the others).
    int GetStartSeconds() const;
    // The record's stored automatic sensitivity in mm/mV (10 where none is kept).
    float GetStoredAutoSense() const;
    // A record of 15 leads: rest byte 11, 226 or 227, MFER 0x800F, rhythm of 15 leads.
    bool IsFifteenLead() const;
    // Not a standard 12-lead record: rest byte other than 0, 254 or 255;
    // rhythm of other than 12 leads; MFER other than 0x800C.
    bool IsExtendedLead() const;
    // The record's heart rate in bpm as its item keeps it as text; 0 without
    // one or when the text is no number (the dividers then take 1000 ms).
    int GetHeartRate() const;
    // Whether the item has a record XML (the dividers place only then).
    bool HasRecordXml() const;
    // The paper rows of an extra or MFER record: 120 when its grid flag is 1, else 150.
    int GetExtraGridRows() const;

private:
    int m_nDocType = -1;
    const void* m_pAny = nullptr;
    _RESTDATAITEM* m_pRest = nullptr;
    _FINALDATAITEM* m_pFinal = nullptr;
    _RHYTHMDATAITEM* m_pRhythm = nullptr;
    _RRDATAITEM* m_pRR = nullptr;
    _EXTRADATAITEM* m_pExtra = nullptr;
    _MFERDATAITEM* m_pMfer = nullptr;
};
