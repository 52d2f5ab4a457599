// The item record of the master-step document's list: one opened master-step
// record with its rest beat, its post-load comparisons, the summary trend and
// the step-test section, and the interpretation fields the form edits.
#pragma once

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/LeadNameInfo.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

#define FINAL_ST_LEADS 12
#define FINAL_TREND_POINTS 31      // rows of the trend table
#define FINAL_TREND_LEADS 20       // columns of the trend table; the first 12 are filled
#define FINAL_TREND_NONE (-32768)  // a trend value the trend views leave out

// The page layouts of the master-step panes, 1 to 4.
typedef int _FINAL_PAGE_STYLE;

// One post-load comparison (an element of _FINALDATAITEM::pLoadInfo).
struct _FINAL_LOAD_INFO {
    short* pAverageWave;                 // MemoryAlloc block or null; freed with the array
    short sST[FINAL_ST_LEADS];           // ST level per lead, 0.01 mm
    int nStart;                          // comparison window, sample indexes of the average beat
    int nEnd;
    unsigned short wYear;                // recording time
    BYTE byMonth, byDay, byHour, byMinute, bySecond;
    BYTE bySpare;
    short sQrsOnset;                     // sample index of the QRS onset in the average beat
    short sStatus;
    short sHeartRate;                    // bpm
};

// The summary trend and the step-test record section.
struct _FINAL_WAVE_INFO {
    _FINAL_WAVE_INFO();
    _FINAL_WAVE_INFO(const _FINAL_WAVE_INFO&) = delete;
    _FINAL_WAVE_INFO& operator=(const _FINAL_WAVE_INFO&) = delete;
    ~_FINAL_WAVE_INFO();

    // Frees the three arrays and zeroes the count and the table.
    void FreeTrend();

    short sTrendCount;                   // points held; never above FINAL_TREND_POINTS
    short* pHeartRate;                   // sTrendCount + 1 values (bpm), MemoryAlloc, or null
    short* pTrendTime;                   // sTrendCount + 1 values (seconds), MemoryAlloc, or null
    short sTrend[FINAL_TREND_POINTS][FINAL_TREND_LEADS];   // ST per point and lead, 0.01 mm
    short* pStatus;                      // sTrendCount + 1 values, 0: no data at the point; or null
    CString strLoadTime;
    CString strTripTotal;
    CString strTripCount;
    CString strMasterStepMode;
};

struct _FINALDATAITEM {
    _FINALDATAITEM();
    _FINALDATAITEM(const _FINALDATAITEM&) = delete;
    _FINALDATAITEM& operator=(const _FINALDATAITEM&) = delete;
    // Releases everything the item owns, the record image and its blobs
    // included: an item deleted by the list must not leave its image behind.
    ~_FINALDATAITEM();

    // Frees the post-load array with the beats its records hold.
    void FreeLoadInfo();

    int nID;
    unsigned int uSystemCode;            // the record's 16-bit system code (tag 3346), 0 when unreadable
    COleDateTime dtReserved;             // not set by the document
    int nKind;                           // the record kind (tag 3381, sign-extended)
    CString strFilePath;                 // the record file
    CString strXMLPath;                  // the record XML
    CString strThirdKey;
    CString strVersion;                  // GetVersionText of the record XML
    _LEAD_NAME_INFO stLeadName;
    _ECGDATA* pECGData;                  // the record image (owned)
    int nDescentTable;                   // 1-based post-load comparison of the ST descent; -1 none
    int nDescentLead;                    // -1 none
    // Recording time of the descent comparison after the load: the post-load
    // time the master-step captions show (CFinalViewDoc::GetPostLoadTime).
    int nDescentMinute;
    int nDescentSecond;
    int nLoadCount;                      // records in pLoadInfo
    // The post-load comparison the one-lead views and the load enlarge
    // dialog show as "the current one" (index -2): 0-based into pLoadInfo,
    // -1 none. Opening a record sets it to the ST-descent comparison (the
    // first one when the record names none); the summary pane moves it with
    // CFinalViewDoc::SetCurLoadIndex. Beat, window and ST always come from
    // this one record.
    int nCurLoadIndex;
    _PATIENT_INFO stPatient;             // strReserved holds the patient edit time
    _INTERPRE_INFO_GENERAL stInterpre;   // strFree: see FINAL_FREE_* below
    int bRequestSection;                 // 1: the record XML has a request section
    _ADDITIONAL_INFO stAddition;
    short* pRestAverageWave;             // MemoryAlloc block or null
    int nRestStart;                      // rest comparison window, sample indexes
    int nRestEnd;
    short sRestST[FINAL_ST_LEADS];       // 0.01 mm
    short sRestQrsOnset;
    short sRestStatus;
    short sRestHeartRate;                // bpm
    _FINAL_LOAD_INFO* pLoadInfo;         // nLoadCount records (MemoryAlloc) or null
    _FINAL_WAVE_INFO stWaveInfo;
    _ANNOTATION_INFO* pAnnoHead;         // head of the annotation chain (owned)
    _FINALDATAITEM* pNext;
    int nFilter;                         // Hz; what GetFilter falls back on
    float fSense;                        // mm/mV; the common sensitivity of modes 3 and 4
};

// The uses of _INTERPRE_INFO_GENERAL::strFree in a master-step item.
enum {
    FINAL_FREE_IVREL_CODE = 0,
    FINAL_FREE_IVREL_TEXT = 1,
    FINAL_FREE_PATIENT_EDIT_DATE = 2,
    FINAL_FREE_PATIENT_EDITOR = 3,
    FINAL_FREE_ANALYSIS_EDIT_DATE = 6,
    FINAL_FREE_ANALYSIS_EDITOR = 7,
    FINAL_FREE_COMMENT_EDIT_DATE = 8,
    FINAL_FREE_COMMENT_EDITOR = 9,
};
