// The patient data of a record as it travels between the record XML, the
// item records, the patient strip's control-data store and the reports; and
// the general interpretation record of the rhythm, RR, extra-lead and
// master-step kinds.
#pragma once

#include "platform/base/Strings.h"

struct _PATIENT_INFO {
    CString strPatientID;      // [3001]
    CString strName;           // [3003]
    CString strSubID;          // [3005]
    CString strKanaName;       // [3007]
    CString strSex;            // [3009]
    CString strAge;            // decimal number [3011]
    CString strAgeUnit;        // "歳", "ヶ月", "週", "日", "時間" or empty [3012]
    CString strSubAge;         // decimal number [3013]
    CString strSubAgeUnit;     // "ヶ月", "週", "日", "時間" or empty [3014]
    CString strHeight;         // integer, or integer, point and one digit [3015]
    CString strHeightUnit;     // "cm" or "in" [3016]
    CString strWeight;         // as the height [3017]
    CString strWeightUnit;     // "kg" or "lb" [3018]
    CString strBpHigh;         // systolic, decimal integer [3019]
    CString strBpLow;          // diastolic, decimal integer [3021]
    CString strConfirmDoctor;  // [3029]
    CString strConfirmation;   // display text [3025]
    CString strConfirmCaption; // "判読医師  : " once the record was read
    CString strAcqTime;        // "yyyy/mm/dd hh:mm:ss", stars when the record has none [3024]
    CString strConfirmDate;    // "yyyy/mm/dd hh:mm:ss", empty without a valid date [3027]
    CString strReserved;
    int bConfirmed = 0;        // 1 when confirmed and nothing was edited after it
    int bEditedAfterConfirm = 0;
    int nPressureUnit = 0;     // 0 mmHg, 1 kPa
};

struct _BIRTHDAY {
    CString strYear;
    CString strMonth;
    CString strDay;
};

#define INTERPRE_GENERAL_FREE_TEXTS 10

struct _INTERPRE_INFO_GENERAL {
    _BIRTHDAY stBirthday;
    CString strMedication1;
    CString strMedication2;
    int nMedication1Sel = -1;  // list selection; -1 for typed text
    int nMedication2Sel = -1;
    CString strSympton;
    CString strDisease;
    CString strDepartment;
    CString strWard;
    CString strRoomNumber;
    CString strReqSection;
    CString strReqDoctor;
    CString strTechnician;
    CString strHeartRate;
    CString strFree[INTERPRE_GENERAL_FREE_TEXTS];   // the master-step document's own texts
    CString strComment;
};
