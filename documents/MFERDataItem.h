// The item record of the MFER document's list: one opened MFER file with
// everything that is read about it from its companion record XML.
#pragma once

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/LeadNameInfo.h"
#include "core/PatientInfo.h"
#include "documents/InterpreInfoRest.h"
#include "documents/MeasureInfo.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/mfer/MFERParser.h"

// The kind codes of MFER records (the system code of the item).
enum {
    MFER_KIND_UNKNOWN = 1,
    MFER_KIND_EXTRA3 = 0x7003,
    MFER_KIND_EXTRA4 = 0x7004,
    MFER_KIND_EXTRA6 = 0x7006,
    MFER_KIND_EXTRA7 = 0x7007,
    MFER_KIND_FREEZE1 = 0x7011,   // 0x7010 + the lead count, up to 0x7016
    MFER_KIND_FREEZE6 = 0x7016,
    MFER_KIND_1LEAD = 0x8001,
    MFER_KIND_3LEAD = 0x8003,
    MFER_KIND_12LEAD = 0x800C,
    MFER_KIND_15LEAD = 0x800F,
};

// The fields keep the order of the record; they are not byte-packed, since
// the patient, lead-name and addition records inside are handed out by
// reference and must stay aligned.
struct _MFERDATAITEM {
    // The host constructs the item (which creates its reader) before it is linked in.
    _MFERDATAITEM() : pMFERParser(new CMFERParser) {}
    _MFERDATAITEM(const _MFERDATAITEM&) = delete;
    _MFERDATAITEM& operator=(const _MFERDATAITEM&) = delete;
    ~_MFERDATAITEM()
    {
        DeleteAnnotationChain(pAnnoHead);
        delete pMFERParser;
        pMFERParser = nullptr;
    }

    int nID = -1;
    unsigned int uSystemCode = MFER_KIND_UNKNOWN;   // kind code; 1 = not recognised
    double dUnused = 0.0;
    int nUnused1 = 0;
    CString strFilePath;        // the MFER file: first search key
    CString strXMLPath;         // the record XML; empty: nothing is read or written
    CString strThirdKey;
    CString strVersion;         // GetVersionText of the record XML
    CString strMasterStep;      // "/Rawdata/Tavrion/Record/Mstep_section/Master_step_info"
                                // it is also the text the extra-lead captions and settings lines end with
    _LEAD_NAME_INFO stLeadName;
    CString strST[12];      // per-lead ST level of the averaged beats, microvolts as decimal text; "****" when missing
    CString strHeartRate;       // decimal bpm: the measurement's heart rate (global 0), set at opening
    _PATIENT_INFO stPatient;    // strReserved holds the patient edit time
    _INTERPRE_INFO_REST stInterpre;
    _ADDITIONAL_INFO stAddition;
    _MEASURE_INFO stMeasure;
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // head of the annotation chain (owned)
    CMFERParser* pMFERParser;   // the file's reader (owned)
    int bNamedExtra = 0;        // 1 for the kinds 0x7003 to 0x7007
    int nUnused2 = 0;
    int bExtraOddLead = 0;      // 1 for 4- and 7-lead records: one lead beyond the groups
    int nLeadGroups = 3;        // 3 or 6
    int nItemPageStyle = 2;     // page style chosen for an extra or freeze record at opening: the layout
                                // code (52 three leads, 54 four, 56 six in one set, 58 two sets of three, 64 seven)
    int nPaneRead = 2;          // the extra-set code: 2 shows the Extra1 set on single-set pages
    int nPaneWritten = 1;       // the set choice of two-set pages: 1 Extra1, 0 Extra2 (the Extra1/Extra2 buttons write it)
    BYTE byMinutes = 0;         // record length: whole minutes
    BYTE bySeconds = 0;         // record length: remaining seconds
    _MFERDATAITEM* pNext = nullptr;
    int nAcqFilter = 100;       // Hz
    float fAcqSense = 10.0f;    // mm/mV; also the stored automatic sensitivity of the views
    int bRhythmRecording = 0;   // 12/15-lead file described as a rhythm recording; the views' start-time flag
    int nLeadLayout = 0;        // 3, 4, 6, 7 for extra kinds, else 1, 3, 12, 15; set by the item's creator
    int nGridFlag = 0;          // paper rows: 1 selects 120 squares; MFER files keep none, so 150
    BYTE byStartMinute = 0;     // start of the shown recording: MFER files keep none, so 0:00
    BYTE byStartSecond = 0;
    // The serial comparison's time label over a 12/15-lead record: shown when
    // set, counted from the start time above. Set by whoever lists the record
    // (the file itself states neither).
    int bTimeLabel = 0;
};
