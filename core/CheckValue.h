// One entry of a document's control-data store: the value of one bound form
// control, keyed by its dialog-control id. The bound controls never keep the
// authoritative text; they push every change here and redraw from here.
#pragma once

#include "platform/base/Strings.h"

class CCheckValue {
public:
    // An empty entry, filled by assignment (the store's array grows this way).
    CCheckValue();
    CCheckValue(UINT uID, const CString& strKey);
    CCheckValue(const CCheckValue& other) = default;
    CCheckValue& operator=(const CCheckValue& other) = default;
    virtual ~CCheckValue();

    UINT GetID() const { return m_uID; }
    CString& GetValue() { return m_strValue; }
    CString& GetSavedValue() { return m_strSavedValue; }
    int GetModifyFlag() const { return m_bModify; }
    void SetModifyFlag(int bModify) { m_bModify = bModify; }
    int GetCurSel() const { return m_nCurSel; }
    void SetCurSel(int nSel) { m_nCurSel = nSel; }
    void SetNeedOutput(int bNeed) { m_bNeedOutput = bNeed; }
    void SetStatusForType(long lStatus) { m_lStatus = lStatus; }

    // A load: saved and current text become the text, not modified.
    void InitValue(const CString& strValue);
    // An edit: once the text differs from the saved one the entry stays
    // modified until it is loaded, accepted or reset again.
    void ModifyValue(const CString& strValue);
    // Accepts the edit, typically after the record was written back.
    void UpdateValue();
    void Reset();

    int IsShow() const;
    int IsEnable() const;
    int IsPrint() const;

    // The name is kept for the callers that pass the field's ini key; the
    // state bit alone decides.
    void UpdateIniState(const CString& strName, int nBit);
    void GetStateFromIni(const CString& strName, int nBit) { UpdateIniState(strName, nBit); }
    int GetState(int nBit) const;

protected:
    UINT m_uID = 0;
    CString m_strSavedValue;
    CString m_strValue;
    int m_bModify = 0;
    int m_nState = 1;          // bit 0 may be shown, bit 1 may be printed
    CString m_strKey;          // name of the field group; read by no operation here
    long m_lStatus = 1;        // bit 0 shown, bit 1 enabled
    int m_nCurSel = -1;        // combo list index; -1 for typed text
    int m_bNeedOutput = 0;     // counts as shown and printed whatever the state bits say
};
