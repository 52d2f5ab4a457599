// The patient information page of the resting and MFER sheet: the patient
// fields of the current item and its ten request fields. Fields that may
// not be edited are hidden and painted as underlined text (display-only
// rows). The sheet asks it, in order, IsDataChange, CheckPatientData and
// SaveDataToItem; stamps, the control-data store and the record XML are
// the sheet's.
#pragma once

#include "dialogs/DisplayOnlyRows.h"
#include "dialogs/PatientPageFields.h"
#include "platform/ui/framework/PropertyPage.h"

class CDC;
class CFont;
class CTavrionDoc;
struct _PATIENT_INFO;
struct _INTERPRE_INFO_REST;

#define PATIENT_PAGE_ROWS 26

class CPagePatientInfo : public CPropertyPage {
    DECLARE_DYNAMIC(CPagePatientInfo)

public:
    enum { IDD = 106 };
    CPagePatientInfo();
    ~CPagePatientInfo() override;

    void SetDoc(CTavrionDoc* pDoc, int nType);
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
    afx_msg void OnEditupdateCombo(UINT id);
    afx_msg void OnUpdateEdit(UINT id);
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
    CString Text(int id) const;
    void SetText(int id, const CString& text);
    void SetControlFont(int id);
    void ShowControl(int id, bool show);

    CTavrionDoc* m_pDoc;
    int m_nType;
    CFont* m_pFont;
    CDisplayOnlyRows m_rows;
};
