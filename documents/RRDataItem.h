// The item record of the RR-interval document's list: one opened RR record
// with the device's RR analysis as its record XML holds it.
#pragma once

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/LeadNameInfo.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "platform/base/Strings.h"

#define RR_TOTAL_COUNT 9      // the texts of "Report/Rr_total"
#define RR50_COLUMN_COUNT 8   // the columns of "Report/Rr50_info"
#define RR50_ROW_MAX 10       // the rows the RR result table has room for

// The totals of "Report/Rr_total", in the order the result table shows them.
enum _RR_TOTAL_INDEX {
    RR_TOTAL_MEASURE_TIME = 0,
    RR_TOTAL_BEAT,
    RR_TOTAL_HEART_RATE,
    RR_TOTAL_MEAN,
    RR_TOTAL_MAX,
    RR_TOTAL_MIN,
    RR_TOTAL_MAX_MIN,
    RR_TOTAL_SD,
    RR_TOTAL_CV,
};

// The columns of the RR50 table in the item (not the order of the file).
enum _RR50_COLUMN {
    RR50_MAX = 0,
    RR50_MIN,
    RR50_HR,
    RR50_AVG,
    RR50_SD,
    RR50_CV,
    RR50_RR_HR,
    RR50_RADIO,
};

// One interval of "Report/Rr_list".
struct _RR_LIST_ENTRY {
    int nFlag;    // 1 when the device marked the interval
    int nValue;   // ms; -1 when the record gives none
};

struct _RRDATAITEM {
    _RRDATAITEM() = default;
    _RRDATAITEM(const _RRDATAITEM&) = delete;
    _RRDATAITEM& operator=(const _RRDATAITEM&) = delete;
    // Releases everything the item owns: the interval list, the annotation
    // chain and the record image (the texts go with their members).
    ~_RRDATAITEM()
    {
        FreeRRList();
        DeleteAnnotationChain(pAnnoHead);
        FreeECGData(pECGData);
    }

    // Drops the interval list and its count.
    void FreeRRList()
    {
        MemoryFree(pRRList);
        pRRList = nullptr;
        nRRListCount = 0;
    }

    int nID = -1;
    unsigned int uSystemCode = 1;   // the record's 16-bit system code (tag 3346); 0 when unreadable
    double dCreatorValue = 0.0;     // the host's own
    int nCreatorCount = 0;          // the host's own
    int nKind = 0;                  // the record kind (data tag 3381, signed)
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;
    CString strVersion;             // GetVersionText of the record XML, set at opening
    _LEAD_NAME_INFO stLeadName;     // nRRCode holds the three-lead strip's codes
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    CString strRRTotal[RR_TOTAL_COUNT];                 // by _RR_TOTAL_INDEX, as the file has them
    int nRR50Count = 0;                                 // rows of strRR50 read, 0 to RR50_ROW_MAX
    CString strRR50[RR50_COLUMN_COUNT][RR50_ROW_MAX];   // [_RR50_COLUMN][row]
    int nRRListCount = 0;                               // entries of pRRList
    _RR_LIST_ENTRY* pRRList = nullptr;                  // MemoryAlloc block; null when the count is 0
    int nLeadCount = 0;             // strip leads: 1, or 3 for a three-lead strip; 0 until known
    BYTE byStartTime[2] = {0, 0};   // minute, then second, of the strip's start
    _PATIENT_INFO stPatient;
    int bDoctorConfirm = 0;         // set by the host; non-zero locks the confirmation fields
    BYTE byCreator[8] = {};         // the host's own
    _INTERPRE_INFO_GENERAL stGeneral;
    // The editors and dates of the record, "yyyy/mm/dd hh:mm:ss" or empty.
    CString strInfoEditor;
    CString strInfoEditDate;
    CString strAnalysisEditor;
    CString strAnalysisEditDate;
    CString strCommentEditor;
    CString strCommentDate;
    int bReqSection = 0;            // 1 when the record XML has the requesting-section field
    _ADDITIONAL_INFO stAddition;
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // the annotation chain (owned)
    _RRDATAITEM* pNext = nullptr;
    int nAcqFilter = 100;           // the record's hi-cut filter, Hz
    float fAcqSense = 10.0f;        // the record's sensitivity, mm/mV
};
