// The base of every interpretation form: the IVREL and Minnesota masters the
// forms look codes up in, reopened at every initial update; request combo
// boxes filled from the document's editable-parameter lists; the colours of
// the owner-drawn buttons; and the rule for an IVREL code's mask byte.
#pragma once

#include <memory>

#include "core/AdditionalInfo.h"
#include "forms/FormEx.h"

class CButtonST;
class CECGXMLParser;

class CFormInterpreBase : public CFormEx {
    DECLARE_DYNAMIC(CFormInterpreBase)

public:
    ~CFormInterpreBase() override;

    void OnInitialUpdate() override;
    // Fills the combo box `uCtrlId` with the document's list `index`; an index
    // outside the lists leaves it empty.
    void InsertEditableParam(_EDITABLE_PARAM_INDEX index, UINT uCtrlId);

    void InitCheckUIArray() override;
    void LimitCtrl() override;
    void MoveGroupCtrls() override;

protected:
    CFormInterpreBase();
    explicit CFormInterpreBase(UINT nIDTemplate);

    // Background colour (slot 20) on the pressed, normal and focused faces,
    // the buttons' text colour (slot 25) on their texts.
    void UpdateButtonColor(CButtonST* pButton);
    // 0 when, for some n from 0 to 3, bit 4 + n is set with any of bits 0 to n.
    static int IsIVRELCodeValid(unsigned char mask);

    // The judgement combo box `uComboId` lists the judgement statements of
    // the IVREL master, in the master's order.
    void FillJudgementList(UINT uComboId);
    // The static `uCodeId` shows the code of judgement `index` (0-based) and
    // pushes it into the document; nothing for a negative index.
    void ShowJudgementCode(UINT uCodeId, int index);

    CECGXMLParser* GetIvrelMaster() const { return m_pIvrelXml.get(); }
    CECGXMLParser* GetMinnesotaMaster() const { return m_pMinneXml.get(); }

    int m_nAdditionRowHeight;                       // design units; 16 until a form's layout says otherwise
    std::unique_ptr<CECGXMLParser> m_pIvrelXml;     // Ivrel12.xml of the work directory
    std::unique_ptr<CECGXMLParser> m_pMinneXml;     // Minesota_mst.xml of the work directory
};
