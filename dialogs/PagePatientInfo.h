// The patient information page of the resting and MFER sheet: the patient
// fields of the current item and its ten request fields. Fields that may
// not be edited are hidden and painted as underlined text (display-only
// rows). The sheet asks it, in order, IsDataChange, CheckPatientData and
// SaveDataToItem; stamps, the control-data store and the record XML are
// the sheet's.
#pragma once

#include "dialogs/DisplayOnlyRows.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/PagePatientBase.h"

class CDC;
class CTavrionDoc;
struct _PATIENT_INFO;
struct _INTERPRE_INFO_REST;

#define PATIENT_PAGE_ROWS 26

class CPagePatientInfo : public CPagePatientBase {
    DECLARE_DYNAMIC(CPagePatientInfo)

public:
    enum { IDD = 106 };
    CPagePatientInfo();
    ~CPagePatientInfo() override;

    // 1 when a shown value differs from the current item.
    int IsDataChange();
    // 0 when every value passes; 255 after the box of the first that fails.
    int CheckPatientData();
    void SaveDataToItem();

    // The label that names the trip counts (also the name in their messages).
    static const wchar_t* TripLabel();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelchangeAgeUnit();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // The current item's records and flags, whichever kind holds them.
    struct ItemView {
        _PATIENT_INFO* pPatient = nullptr;
        _INTERPRE_INFO_REST* pInterpre = nullptr;
        int* pEdited = nullptr;        // the resting item's patient-edited flag
        CString* pTrip1 = nullptr;     // resting items only
        CString* pTrip2 = nullptr;
        unsigned int uSystemCode = 0;
        bool bRest = false;
        bool b8000 = false;
    };
    ItemView CurrentItem() const;
    static _PATIENT_PAGE_TARGET SharedTarget(const ItemView& item);
    bool HasTripRows() const;
    bool Is8000() const;

    void InitCtrlLayout();
    void InitComboItems();
    void LoadPatientData();
    void FillFixedMedication(int comboId, int list, UINT ctrlData);

    CDisplayOnlyRows m_rows;
};
