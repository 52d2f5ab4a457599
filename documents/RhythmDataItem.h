// The item record of the rhythm document's list: one opened rhythm record
// file with what the document read from it and from its record XML, and the
// per-lead cache of filtered strips that the views page through.
#pragma once

#include <memory>

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/LeadNameInfo.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "platform/base/Collections.h"
#include "platform/base/Strings.h"

// Leads a rhythm record can hold (and cache slots per item).
#define RHYTHM_LEAD_SLOTS 15

struct _RHYTHMDATAITEM {
    _RHYTHMDATAITEM() = default;
    _RHYTHMDATAITEM(const _RHYTHMDATAITEM&) = delete;
    _RHYTHMDATAITEM& operator=(const _RHYTHMDATAITEM&) = delete;
    // Releases everything the item owns, the record image included: the list
    // is the only owner left once the host added the item.
    ~_RHYTHMDATAITEM()
    {
        FreeWaveCache();
        DeleteAnnotationChain(pAnnoHead);
        FreeECGData(pECGData);
    }

    // Drops every cached strip; the next request reads the record again.
    void FreeWaveCache()
    {
        for (int lead = 0; lead < RHYTHM_LEAD_SLOTS; ++lead) {
            pWaveCache[lead].reset();
            nCacheFilter[lead] = 0;
            nCacheLength[lead] = 0;
        }
        nCacheNoise = 0;
    }

    int nID = -1;
    unsigned int uSystemCode = 1;   // the record's 16-bit system code (tag 3346); 0 when the tag is missing
    double dReserved = 0.0;         // kept for the host
    int nReserved = 0;
    int nKind = 0;                  // the record kind (data tag 3381, signed)
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;
    CString strVersionText;         // program and record-XML versions, set at opening
    _LEAD_NAME_INFO stLeadName;
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    // Filtered samples per lead, null when not cached; shared with the views
    // that show them, which keep them after the cache has dropped them.
    std::shared_ptr<short[]> pWaveCache[RHYTHM_LEAD_SLOTS];
    int nCacheFilter[RHYTHM_LEAD_SLOTS] = {};    // hi-cut cutoff in Hz each cached strip was made with
    int nCacheLength[RHYTHM_LEAD_SLOTS] = {};    // bytes of each cached strip
    int nCacheNoise = 0;            // bit-noise setting the cache was made with (all leads)
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // the item's annotation chain (owned)
    int nLeadCount = 0;             // 1, 3, 12 or 15; set by whoever adds the item
    int nTypeValue = 0;             // the record's layout type, set by whoever adds the item; 3 is the three-row layout
    BYTE byStartMinute = 0;         // recording start within the hour (tag 3854 or 3856)
    BYTE byStartSecond = 0;
    CString strMasterStepInfo;      // Master_step_info for master-step system codes, else empty
    _PATIENT_INFO stPatient;        // its 21st text (strReserved) is the patient edit time
    int bConfirmed = 0;             // set by the reading-doctor dialog
    int nReserved2[2] = {};
    _INTERPRE_INFO_GENERAL stInterpre;
    // The editors and dates of the interpretation block, as texts
    // "%04d/%02d/%02d %02d:%02d:%02d" (empty when the record has none).
    CString strInfoEditor;
    CString strInfoEditDate;
    CString strAnalysisEditor;
    CString strAnalysisEditDate;
    CString strCommentEditor;
    CString strCommentDate;
    int bReqSection = 0;            // the record XML holds a requesting section
    _ADDITIONAL_INFO stAddition;
    _RHYTHMDATAITEM* pNext = nullptr;
    int nRecordFilter = 100;        // Acq_filter of the record XML, Hz
    float fRecordSense = 10.0f;     // Acq_sense of the record XML, mm/mV
    CArray<int, int> arrEvent;      // sample positions of the events, non-decreasing
    int nEventCount = 0;            // the event count the record states (before checking)
};
