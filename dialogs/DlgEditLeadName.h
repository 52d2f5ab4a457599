// The one design of the lead-name editors: a modal dialog with a name box per
// editable lead of the current item. Three editors pick a position name from
// a fixed list, which also sets the lead's code; the freeze editor takes free
// text. A stored change goes into the item, into the device record file
// (rewritten whole from the record image) and, through the editing OK, into
// the record XML. Each editor tells its differences through its Design and
// FindTarget.
#pragma once

#include <vector>

#include "core/LeadNameInfo.h"
#include "dialogs/DlgModal.h"
#include "dialogs/EditingOk.h"

class CTavrionDoc;
struct _ECGDATA;
struct _PATIENT_INFO;

class CDlgEditLeadName : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditLeadName)

public:
    ~CDlgEditLeadName() override;

    void SetDoc(CTavrionDoc* pDoc, int nDocType)
    {
        m_pDoc = pDoc;
        m_nDocType = nDocType;
    }

    // The position names in list order and their lead codes; 0 for a name
    // outside the list.
    static const std::vector<CString>& PositionNames();
    static int PositionCode(const CString& name);

    enum class Written { All, Changed, FreezeAll };

    struct Design {
        int nFirstBox;             // name controls, consecutive ids
        int nFirstLabel;           // their labels, consecutive ids
        int nBoxes;                // controls in the template
        const wchar_t* pszLabel;   // label format, numbered from 1
        int nLimit;                // display columns of a name
        bool bFreeze;              // free-text edits found by lead code
        Written written;
    };

protected:
    // Where the current item keeps what the editor changes.
    struct Target {
        _LEAD_NAME_INFO* pNames = nullptr;
        _ECGDATA* pImage = nullptr;
        CString strFilePath;
        _PATIENT_INFO* pPatient = nullptr;
        _EDIT_STAMP_FIELDS stamp;
        int nLeads = 0;         // edited leads, the first boxes in order
        int nDispOffset = 0;    // the first edited lead among the shown names

        // Points the target at an item's names, record image, file, patient
        // and edit stamp; every item kind keeps them under the same names.
        template <class Item>
        void TakeItem(Item& item)
        {
            pNames = &item.stLeadName;
            pImage = item.pECGData;
            strFilePath = item.strFilePath;
            pPatient = &item.stPatient;
            stamp = EditStampFieldsOf(item);
        }
    };

    CDlgEditLeadName(UINT nIDTemplate, CWnd* pParent, const Design& design, int nDefaultKind);

    // The current item when the document is of the required kind and the
    // item is one the editor accepts.
    virtual bool FindTarget(Target& target) = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void ShowText();
    void OnCmbEditUpdate(UINT id);
    void OnEditUpdate(UINT id);

    DECLARE_MESSAGE_MAP()

    CTavrionDoc* m_pDoc = nullptr;   // not owned
    int m_nDocType;
    int m_bCustomName = 0;           // the item's custom-name flag at opening
    std::vector<CString> m_strCurrent;

private:
    int BoxOf(int lead, const Target& target) const;
    bool IsFreezeLead(const Target& target, int lead) const;
    void ShowName(int box, const CString& name);
    CString ReadName(int box);
    void ApplyNames(const Target& target, const std::vector<CString>& names);
    bool WriteRecord(const Target& target);

    Design m_design;
};
