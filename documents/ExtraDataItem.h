// The item record of the extra-lead document's list: one opened record file
// of an extra-lead examination (three or six extra leads, with or without a
// one-lead rhythm strip) or of a freeze record (up to six leads).
#pragma once

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/LeadNameInfo.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "platform/base/Strings.h"

// The page styles of the extra-lead panes: a plain number (1 to 29).
typedef int _EXTRA_PAGE_STYLE;

// What GetExtraInfo derives from the record's layout tags.
struct _EXTRAINFO {
    int bNotFreeze = 1;      // 0 when the low byte of the system code is 28
    int nRecordMode = 0;     // tag 4095
    int bRhythm = 0;         // 1 when the record carries a one-lead rhythm strip
    int nLeadCount = 3;      // extra leads: 3 or 6; for freeze records tag 4093
    int nPageStyle = 2;      // the record's own default page style
    int nExtraSet = 2;       // tag 4098 (records of a mode other than 1); 2 selects Extra1 on single-set pages
};

// Not byte-packed: its members are class objects, which must stay aligned.
struct _EXTRADATAITEM {
    _EXTRADATAITEM() = default;
    _EXTRADATAITEM(const _EXTRADATAITEM&) = delete;
    _EXTRADATAITEM& operator=(const _EXTRADATAITEM&) = delete;
    // Releases the annotation chain and the record image with its blobs.
    ~_EXTRADATAITEM()
    {
        DeleteAnnotationChain(pAnnoHead);
        FreeECGData(pECGData);
    }

    int nID = -1;
    unsigned int uSystemCode = 1;   // 16-bit system code (tag 3346); low byte 28: a freeze record
    double dReserved = 0.0;
    int nReserved = 0;
    int nKind = 0;                  // record kind (tag 3381, signed)
    CString strFilePath;            // the record file (first key)
    CString strXMLPath;             // the record XML (second key)
    CString strThirdKey;
    CString strVersion;             // GetVersionText of the record XML
    _LEAD_NAME_INFO stLeadName;     // nCount: the rhythm section's lead count
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    unsigned short usTag3854 = 0;   // the value of tag 3854
    _EXTRAINFO stExtraInfo;
    _PATIENT_INFO stPatient;
    _INTERPRE_INFO_GENERAL stInterpre;
    _ADDITIONAL_INFO stAddition;
    _EXTRADATAITEM* pNext = nullptr;
    CString strMasterStepInfo;
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // head of the annotation chain (owned); null until opening
    int bSelectExtra1 = 1;          // the lead set shown: 1 Extra1, 0 Extra2
    CString strPostLoadTime;        // the post-load time text of the record XML; empty when it keeps none
    int nRecFilter = 100;           // filter the record was taken with (Hz)
    float fRecSense = 10.0f;        // sensitivity the record was taken with (mm/mV)
    int nLeadType = 0;              // lead-count type 3, 4, 6 or 7, set by the host; 0 unknown
    int nGridFlag = 0;              // paper rows: 1 selects 120 squares; no record keeps one, so 150
    BYTE byStartMinute = 0;         // recording start (tag 3854: minute, then second), set at opening
    BYTE byStartSecond = 0;
    // The stored automatic sensitivity is fRecSense; the heart-rate text is stInterpre.strHeartRate.

    // Texts of the form that the item keeps beside its records (the patient
    // edit time is the patient record's strReserved); dates are
    // "%04d/%02d/%02d %02d:%02d:%02d" or empty.
    int nReqSectionFound = 0;       // 1 when the record XML had the requesting-section element
    CString strInfoEditor;
    CString strInfoEditDate;
    CString strLeadNameEditor;
    CString strLeadNameEditDate;
    CString strCommentEditor;
    CString strCommentEditDate;

    bool IsFreeze() const { return (uSystemCode & 0xFF) == 28; }
};
