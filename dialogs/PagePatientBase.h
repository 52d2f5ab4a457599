// What the patient pages of the information sheets have in common: the
// document and kind they edit, the dialog font their texts take, the small
// control helpers they load and read their fields with, the age-unit rule
// that shows or hides the sub-age, the comment editor, and the guards that
// keep a typed text to its box's limit.
#pragma once

#include "platform/ui/framework/PropertyPage.h"

class CFont;
class CTavrionDoc;

class CPagePatientBase : public CPropertyPage {
    DECLARE_DYNAMIC(CPagePatientBase)

public:
    ~CPagePatientBase() override;

    void SetDoc(CTavrionDoc* pDoc, int nType);

protected:
    CPagePatientBase(UINT nIDTemplate, int nType);

    // The document's value of control-data item `id`; empty without a document or for item 0.
    CString CtrlData(UINT id) const;
    CString Text(int id) const;
    void SetText(int id, const CString& text);
    void SetControlFont(int id);
    void ShowControl(int id, bool show);
    // The selection of drop-down list `id`; CB_ERR when none.
    int Selection(int id) const;
    // Where control `id` stands in the page's client area; empty without it.
    CRect ClientRectOf(int id) const;
    // An edit box's text, its limit in characters and the page's font.
    void LoadEdit(int id, const CString& text, int limit);
    // A label's text in the page's font.
    void LoadLabel(int id, const CString& text);
    // How a stored text finds its entry of a drop-down list: the whole text,
    // or its start (an empty text then chooses none).
    enum class ListMatch { Exact, Prefix };
    // Drop-down list `id` shows the entry `stored` finds, else `stored` as
    // its text, in the page's font.
    void LoadListChoice(int id, const CString& stored, ListMatch match);
    // The entries of the document's editable list `list` added to `combo`.
    void AddListEntries(CWnd& combo, int list);
    // The sub-age box `subAge` and its unit label `subAgeUnit` after the
    // age-unit list's selection: hidden and emptied from hours on, else shown
    // (unless its row is painted as text) with the next finer unit.
    void ShowSubAge(int selection, int subAge, int subAgeUnit, bool displayOnly);
    // Opens the comment editor on edit box `comment` for an item of system
    // code `systemCode`; OK puts the edited comment back (true).
    bool EditComment(int comment, unsigned int systemCode);

    afx_msg void OnEditupdateCombo(UINT id);
    afx_msg void OnUpdateEdit(UINT id);

    CTavrionDoc* m_pDoc;
    int m_nType;
    CFont* m_pFont;   // the dialog font for the screen's width
};
