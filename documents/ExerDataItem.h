// The item record of the exercise document's list: one opened exercise
// (stress) test record with its interpretation, result table, block clock,
// ST measurements and lead selections.
#pragma once

#include "core/AnnotationInfo.h"
#include "core/ECGData.h"
#include "core/MemoryHelpers.h"
#include "core/PatientInfo.h"
#include "platform/base/Collections.h"
#include "platform/base/Strings.h"

#define EXER_RESULT_ROWS 10
#define EXER_RESULT_COLUMNS 8
#define EXER_LEAD_NAMES 12
#define EXER_EXTRA3_LEADS 3
#define EXER_SIX_LEADS 6

// The texts of the exercise interpretation form.
struct _INTERPRE_INFO_EXER {
    _BIRTHDAY stBirthday;            // "%04d", "%02d", "%02d"
    CString strMedication1;
    CString strMedication2;
    int nMedication1Code = -1;       // index into editable-parameter list 0; -1 when missing
    int nMedication2Code = -1;       // index into editable-parameter list 1; -1 when missing
    CString strSympton;
    CString strDisease;
    CString strDepartment;
    CString strWard;
    CString strRoomNumber;
    CString strReqSection;
    CString strReqDoctor;
    CString strTechnician;
    CString strPatientEditDate;      // "%04d/%02d/%02d %02d:%02d:%02d"
    CString strPatientEditor;
    CString strUnused[2];
    CString strAnalysisEditDate;
    CString strAnalysisEditor;
    CString strIvrelText;            // the judgement's text from the IVREL master
    CString strIvrelValue;           // the judgement element's own text
    CString strCommentEditDate;
    CString strCommentEditor;
    CString strComment;              // at most three lines joined by CR LF
    CString strRace;
    CString strLoad;                 // the load protocol
    CString strLoadTime;             // "%02d'%02d''(%3.1f METs)"
    int nStopCondition = -1;         // index into editable-parameter list 11; -1 when missing
    CString strMaxHr;
    CString strTargetHr;
    int nHrCalculate = 0;            // 0 share of the maximum heart rate, 1 share of the heart-rate reserve
    short sHr100Percent = 0;         // predicted maximum heart rate, bpm
    CString strMaxPercent;
    CString strTargetPercent;
    CString strStLevelPoint;         // "%3d ms"
    CString strStSlopePoint;
    CString strVo2Max;
    CString strPwc;
    int bReqSection = 0;             // 1 when the record XML has a request section
    int bCopied = 0;                 // 1: the form already copied its edits into the item
    int bSaved = 0;                  // the result-reload flag: 1 after a save, until the result view reloads the table
};

// The target heart-rate table: one row per share of the predicted maximum
// heart rate, and the METs line it is computed from.
struct _EXER_RESULT_INFO {
    // [column][row]: percentage, heart rate, METs, VO2, Kcal/10min, running
    // speed, walking speed, load (W); empty where a value is negative.
    CString strValue[EXER_RESULT_COLUMNS][EXER_RESULT_ROWS];
    double dSlope = 0.0;             // METs per bpm
    double dIntercept = 0.0;         // METs at 0 bpm
};

// Whether a METs line was fitted: both values exactly 0 mean the record holds
// none; any other pair, however small (slopes are well below 1), is a line.
inline bool HasExerRegression(double slope, double intercept)
{
    return slope != 0.0 || intercept != 0.0;
}

struct _EXERDATAITEM {
    _EXERDATAITEM() = default;
    _EXERDATAITEM(const _EXERDATAITEM&) = delete;
    _EXERDATAITEM& operator=(const _EXERDATAITEM&) = delete;
    // Releases everything the item owns: the annotation chain and the image.
    ~_EXERDATAITEM()
    {
        DeleteAnnotationChain(pAnnoHead);
        FreeECGData(pECGData);
    }

    int nID = -1;                    // given by the list when the host links the item in
    unsigned int uSystemCode = 0;    // 16-bit system code (tag 3346); 0 when the tag fails
    int nKind = 0;                   // examination kind (tag 3381, signed byte)
    CString strFilePath;             // the record file
    CString strXMLPath;              // the record XML
    CString strThirdKey;
    CString strFourth;
    _ECGDATA* pECGData = nullptr;    // the record image (owned)
    _PATIENT_INFO stPatient;         // bConfirmed is the doctor-confirmed flag, strConfirmDoctor the confirming doctor
    CString strPatientEditTime;      // Inspection/Patient_section/Edit_time, "%04d/%02d/%02d %02d:%02d:%02d"
    _INTERPRE_INFO_EXER stInterpre;
    _EXERDATAITEM* pNext = nullptr;
    _EXER_RESULT_INFO stResult;

    // ---- the block clock; every time is in seconds from the start of the test
    int nBlockInterval = 15;         // seconds between two average blocks: 15, 60 or 120
    int nCurTime = 0;                // time of the block now shown
    int nExerTime = 0;               // exercise duration: the exercise end and the recovery start
    int nSampleRate = 500;           // Hz of the average beats and of the stored strips alike
    int nExerAveCount = 0;           // average blocks of the exercise series
    int nPostAveCount = 0;           // average blocks of the recovery series
    int nEndTime = 0;                // time of the last average block
    int nReserved6h = 0;
    int nExerMemCount = 0;           // stored strips of the exercise series
    int nPostMemCount = 0;           // stored strips of the recovery series
    CArray<int, int> arrMemTime;     // time of every stored strip, in strip order

    // ---- test points of the average beats, in samples (Test_point of the
    // record XML). They count from the beat's reference position (the third
    // value of its per-block record, tags 3478/3475/3479 below): the views put
    // their measuring ticks at reference - nOnset (the base line, also where
    // the stored beats are levelled), reference + nOffset (the J point),
    // J + nStLevelPoint (the ST level, the one tick drawn downwards), J +
    // nSlope1Point (the first slope point) and that point + the lead's own
    // measuring offset (data tags 3182/3194 + lead, 3375 for the rest beat).
    int nOnset = 0;                  // measuring offset 1: before the reference
    int nOffset = 0;                 // measuring offset 2: the J point after it
    int nStLevelPoint = 0;           // measuring offset 3: the ST level point after J
    int nSlope1Point = 0;            // measuring offset 4: the first slope point after J
    int nStMeasCondition = 0;        // the ST label switch: non-zero labels current beats "R-ST", else "ST-L"

    // ---- the summary block (Extra3 of the record XML): the rest beat, the
    // beat just after the load and the beat of maximum ST depression.
    int nExtra3Lead[EXER_EXTRA3_LEADS] = {};   // the summary (and ST) leads, stored lead ids
    int nMaxStMode = 0;              // 1: the maximum-ST-depression beat lies in recovery
    int nMaxStTime = 0;              // its time, seconds within its series
    int nStLevelRest[EXER_EXTRA3_LEADS] = {};   // ST levels (0.1 mm) by beat kind, one per summary lead
    int nStLevelEnd[EXER_EXTRA3_LEADS] = {};
    int nStLevelMax[EXER_EXTRA3_LEADS] = {};
    int nStSlopePoint = 0;
    // The just-after-load and maximum-ST-depression measuring offsets by
    // summary lead (samples past the first slope point); the rest beats take
    // nRestMeasOffset.
    int nStSlopeEnd[EXER_EXTRA3_LEADS] = {};
    int nStSlopeMax[EXER_EXTRA3_LEADS] = {};
    int nRestMeasOffset = 0;         // data tag 3375: the rest beats' measuring offset (16-bit)
    // Reference positions by beat kind, samples into the beat (0 when the
    // record is missing or holds 60 or less): the third 16-bit value of the
    // first record of tag 3478 (rest), 3475 (the first recovery block, just
    // after the load) and 3479 (maximum ST depression). Every per-block
    // record of tags 3478 (exercise, index block; block 0 is the rest beat)
    // and 3475 (recovery) has the same 8-byte layout: first value (the
    // block's heart rate, bpm), second value (350), reference position,
    // 0 — four little-endian signed 16-bit words.
    int nRefPos[3] = {};
    // Heart rates by beat kind, bpm: sRestHr, nEndHr and nMaxStHr.
    short sRestHr = 0;               // resting heart rate, bpm (record XML)
    int nEndHr = 0;
    int nMaxStHr = 0;
    // The lead selections, display lead numbers 0-11.
    int nLead6[EXER_SIX_LEADS] = {0, 1, 2, 3, 4, 5};   // six-lead selection
    int nLead1 = 0;                  // one-lead selection
    BYTE byReserved = 0;
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // the annotation chain (owned), head record first
    CString strLeadName[EXER_LEAD_NAMES];
    int nFilterStatus = 0;           // filter bits of the record (mask 0x18: filter on)
    float fAcqSense = 10.0f;         // acquisition sensitivity, mm/mV

    // ---- state of the exercise views and panes; this document does not touch it
    int nTrendStyle = 0;
    int nTrendLead = 0;
    int nTrendPage = 0;
    int nTrendSummarySel = 0;
    int nTrendSTSel = 0;
    int bTrendList = 0;
    int bRelativeST = 0;
};
