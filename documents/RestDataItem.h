// The item record of the rest document's list: one opened resting record with
// everything read from its device record file and its record XML, and the
// per-lead caches of the filtered waves.
#pragma once

#include <vector>

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/LeadNameInfo.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "documents/InterpreInfoRest.h"
#include "documents/MeasureInfo.h"
#include "platform/base/Strings.h"

#define REST_DISPLAY_LEADS 15

struct _RESTDATAITEM {
    _RESTDATAITEM() = default;
    _RESTDATAITEM(const _RESTDATAITEM&) = delete;
    _RESTDATAITEM& operator=(const _RESTDATAITEM&) = delete;
    // Releases everything the item owns, the record image included.
    ~_RESTDATAITEM()
    {
        DeleteAnnotationChain(pAnnoHead);
        FreeECGData(pECGData);
    }

    // Drops the filtered waves; a new image makes every cached lead stale.
    void ClearWaveCache()
    {
        for (int lead = 0; lead < REST_DISPLAY_LEADS; ++lead) {
            arrWaveCache[lead].clear();
            arrWaveCache[lead].shrink_to_fit();
            nCacheFilter[lead] = -1;
        }
        bCacheNoise = -1;
    }

    int nID = 0;
    unsigned int uSystemCode = 0;   // the record's 16-bit system code (tag 3346); 0 when missing
    int b8000File = 0;              // non-zero for records of the model-8000 recorder (set by the creator)
    int bSkipRefresh = 0;           // the next SaveDataToXML does not refresh the item from the controls
    int nCreator1[3] = {};          // the creator's own
    int nKind = 0;                  // the record kind (data tag 3381, signed)
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;
    CString strVersion;             // GetVersionText of the record, set at opening
    _LEAD_NAME_INFO stLeadName;
    CString strST[12];      // per-lead ST level of the averaged beats, microvolts as decimal text; "****" when missing
    CString strHeartRate;           // decimal bpm: the measurement's heart rate (global 0), set at opening
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    _PATIENT_INFO stPatient;
    int bDoctorConfirm = 0;
    int nCreator2[2] = {};
    _INTERPRE_INFO_REST stInterpre;
    _INTERPRE_INFO_GENERAL stGeneral;
    _ADDITIONAL_INFO stAddition;
    _RESTDATAITEM* pNext = nullptr;
    _MEASURE_INFO stMeasure;
    CString strMasterStep;
    CString strTrip;                // trip count text
    int bTrip = 0;                  // 1 for records whose system code carries trip information
    CString strTotalTrip;
    // The filtered 16-bit samples of display leads 0 to 14, exactly as many
    // bytes as the record gave; empty when not made.
    std::vector<BYTE> arrWaveCache[REST_DISPLAY_LEADS];
    int nCacheFilter[REST_DISPLAY_LEADS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    int bCacheNoise = -1;           // bit-noise flag the caches were made with; -1 none
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // the annotation chain (owned)
    short sSpikeCount = 0;          // pacemaker spikes read
    std::vector<WORD> arrSpikePos;  // sample index of each spike; 0xFFFF when unreadable
    std::vector<BYTE> arrSpikeLead; // lead code of each spike; 0xFF when unreadable
    int nAcqFilter = 100;           // the record's hi-cut in Hz (100 for model-8000 records)
    float fAcqSense = 10.0f;        // the record's sensitivity in mm/mV
    int nLeadCount = 0;             // 12 or 15 (set by the creator; filled from the kind when 0)
};
