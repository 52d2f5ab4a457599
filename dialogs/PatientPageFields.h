// The fields the patient information page and the general patient page both
// show, each under its own control ids: the patient record, the birthday,
// the two medications, the seven request texts and the room number; and the
// checks of their values, which both pages run alike.
#pragma once

#include "platform/base/Strings.h"

class CECGXMLParser;
class CTavrionDoc;
class CWnd;
struct _PATIENT_INFO;
struct _BIRTHDAY;

#define PATIENT_PAGE_REQUESTS 7

// A page's control ids of the shared fields.
struct _PATIENT_PAGE_IDS {
    int nPatientID, nSubID, nName, nKanaName, nSex, nAge, nAgeUnit, nSubAge, nSubAgeUnit;
    int nBirthYear, nBirthMonth, nBirthDay;
    int nHeight, nWeight, nBpHigh, nBpLow;
    int nMedication[2];                      // the combos whose text and selection are kept
    int nRequest[PATIENT_PAGE_REQUESTS];     // symptom, disease, ward, department, request section,
                                             // requesting doctor, technician
    int nRoom;
};

// Where the current item keeps the shared fields.
struct _PATIENT_PAGE_TARGET {
    _PATIENT_INFO* pPatient = nullptr;
    _BIRTHDAY* pBirthday = nullptr;
    CString* pMedication[2] = {};
    int* pMedicationSel[2] = {};
    CString* pRequest[PATIENT_PAGE_REQUESTS] = {};
    CString* pRoom = nullptr;
};

// True when a shared field of the page differs from the item's (from an
// empty item when the target has none): the patient record and birthday,
// the medications as `doc`'s lists show them, the request texts and the room.
bool SharedFieldsDiffer(const CWnd& page, const _PATIENT_PAGE_IDS& ids, const _PATIENT_PAGE_TARGET& target,
                        CTavrionDoc* doc);
// Writes the shared fields of the page into the item. A medication that
// still reads as `doc`'s lists show the stored one, and the sub-age unit of
// an age whose unit and sub-age were not edited, stay as stored.
void WritePatientFields(CWnd& page, const _PATIENT_PAGE_IDS& ids, const _PATIENT_PAGE_TARGET& target,
                        CTavrionDoc* doc);

// The value checks, each 255 after the box of the first value that fails, else 0.
// Age (0-999) and, unless a model-8000 record, sub-age (0-99).
int CheckAges(const CString& age, const CString& subAge, bool b8000);
// A birthday typed in full or in part: year 1900-2050, month, day and a real
// date. Stars (an unread date) and an all-zero date are not checked.
int CheckBirthDate(const CString& year, const CString& month, const CString& day);
// The trip counts: 0-999, or 0-255 and 0-256 in a model-8000 record; stars not checked.
int CheckTripCounts(const CString& trip, const CString& total, const wchar_t* label, bool b8000);
// Height and weight, 0-999.9.
int CheckBodySize(const CString& height, const CString& weight);

// The lists the patient pages share.
// The sex and age-unit items into drop-down lists `sex` and `ageUnit`.
void FillSexAndAgeUnits(CWnd& page, int sex, int ageUnit);
// The sub-age unit that goes with age-unit selection `selection`: the next
// finer unit; years when none is chosen.
CString SubAgeUnitAfter(int selection);
// The judgement list of the IVREL master, in master order, into drop-down list `combo`.
void FillJudgementList(CWnd& page, int combo, CECGXMLParser& ivrel);
// The text and code of entry `selection` (0-based) of that list; both empty
// when the master has no such entry.
void JudgementAt(CECGXMLParser& ivrel, int selection, CString& text, CString& code);
