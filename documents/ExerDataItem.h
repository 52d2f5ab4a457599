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
    int bSaved = 0;                  // 1 after a save, until the result view reloads the table
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
    _PATIENT_INFO stPatient;         // bConfirmed is the doctor-confirmed flag
    CString strPatientEditTime;      // Inspection/Patient_section/Edit_time, "%04d/%02d/%02d %02d:%02d:%02d"
    _INTERPRE_INFO_EXER stInterpre;
    _EXERDATAITEM* pNext = nullptr;
    _EXER_RESULT_INFO stResult;

    // ---- the block clock; every time is in seconds from the start of the test
    int nBlockInterval = 15;         // seconds between two average blocks: 15, 60 or 120
    int nCurTime = 0;                // time of the block now shown
    int nExerTime = 0;               // exercise duration: where the recovery series starts
    int nSampleRate = 500;           // Hz
    int nExerAveCount = 0;           // average blocks of the exercise series
    int nPostAveCount = 0;           // average blocks of the recovery series
    int nEndTime = 0;                // time of the last average block
    int nReserved6h = 0;
    int nExerMemCount = 0;           // stored strips of the exercise series
    int nPostMemCount = 0;           // stored strips of the recovery series
    CArray<int, int> arrMemTime;     // time of every stored strip, in strip order

    // ---- test points, in samples of the average beat
    int nOnset = 0;                  // the base-line reference of the stored beats
    int nOffset = 0;
    int nStLevelPoint = 0;
    int nSlope1Point = 0;
    int nStMeasCondition = 0;
    int nExtra3Lead[EXER_EXTRA3_LEADS] = {};
    int nMaxStMode = 0;
    int nMaxStTime = 0;              // seconds
    int nStLevelRest[EXER_EXTRA3_LEADS] = {};   // ST levels, one per Extra3 lead
    int nStLevelEnd[EXER_EXTRA3_LEADS] = {};
    int nStLevelMax[EXER_EXTRA3_LEADS] = {};
    int nStSlopePoint = 0;
    int nStSlopeEnd[EXER_EXTRA3_LEADS] = {};
    int nStSlopeMax[EXER_EXTRA3_LEADS] = {};
    int nTagHr[3] = {};              // heart rates of tags 3478, 3475, 3479 (bpm; 0 when 60 or below)
    short sRestHr = 0;               // resting heart rate, bpm (record XML)
    int nEndHr = 0;
    int nMaxStHr = 0;
    int nLead6[EXER_SIX_LEADS] = {0, 1, 2, 3, 4, 5};   // six-lead selection: lead numbers 0-11
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
