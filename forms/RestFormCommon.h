// What the two rest interpretation forms (the portrait one and the
// landscape, US-style one) share, kept out of either form's own class: the
// bound controls of their layout rows, the code rows with their master
// look-ups, pickers and delete buttons, the additions, the comment and its
// height, the wrapped rows' growth, the scroll handling and the Tab and
// Return keys. It has no runtime class and no message map of its own: each
// form names its own class and routes its messages to these handlers, so a
// host that asks one form whether it is the other is told no.
#pragma once

#include "controls/CheckStatic.h"
#include "forms/FormControls.h"
#include "forms/FormInterpreBase.h"

#include <utility>
#include <vector>

class CECGDC;
class CMultiEdit;
struct _POSITION_CTRL;
struct _ADDITIONAL_INFO;
struct _INTERPRE_INFO_REST;

class CRestFormCommon : public CFormInterpreBase {
public:
    static constexpr int kIvrelRows = 11;
    static constexpr int kMinnesotaRows = 8;
    static constexpr int kAdditionRows = 3;

    ~CRestFormCommon() override;

    // What the layout reads of the current resting or MFER item.
    struct ItemView {
        _INTERPRE_INFO_REST* interpre = nullptr;
        _ADDITIONAL_INFO* addition = nullptr;
        int b8000 = 0;
        int bConfirmed = 0;
        bool bMfer = false;
        unsigned int uSystemCode = 0;
        CString strVersion;
        int MinnesotaShown() const;
        int IvrelShown() const;
    };

    int InsertEditableParam();
    // Cumulative extra lines of IVREL row `index` (ivrel set), Minnesota row
    // (minnesota set) or addition row (both clear); 0 for anything else.
    int GetAdditionLineCount(int index, int ivrel, int minnesota) const;

    void InitCheckUIArray() override;
    void UpdateCtrlStatus() override;
    void LimitCtrl() override;
    void MoveCtrl(int bSecondPass) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The control of layout row `row`, null outside the table.
    CWnd* GetRowControl(int row) const { return m_controls.Row(row); }
    CMultiEdit* GetCommentEdit() const;
    // Layout passes run since construction (the second pass counts too).
    int GetLayoutPasses() const { return m_nLayoutPasses; }
    int GetCommentExtraHeight() const { return m_nCommentExtraHeight; }

protected:
    // The form's template and the controls of its layout rows.
    CRestFormCommon(UINT nIDTemplate, std::vector<FormRow> rows);

    struct Walk;

    // What differs between the rest forms.
    virtual const _POSITION_CTRL* Layout() const = 0;
    virtual void TakeRowHeights(const _POSITION_CTRL* table) = 0;
    // The heights of the addition, IVREL and Minnesota rows from the rows
    // of the layout that start them; a height of 0 keeps the form's own.
    void TakeRowHeightsAt(const _POSITION_CTRL* table, int additionRow, int ivrelRow, int minnesotaRow);
    virtual int CommentRow() const = 0;
    // The comment grows beyond this many lines.
    virtual int CommentBaseLines() const = 0;
    // Who the pane is told reached the end of the tab chain.
    virtual int ChainSource() const = 0;
    // Wrapping inside the form: from the comment the first usable id from
    // WrapFirstId() up; from elsewhere the first from the comment down to WrapLastId().
    virtual UINT WrapFirstId() const = 0;
    virtual UINT WrapLastId() const = 0;
    virtual bool EditsAdditions() const = 0;
    // What follows the pickers, the addition editor and the comment editor: the rest form runs
    // both status passes after an addition and brings the focus back to the comment button;
    // the US-style form leaves the status alone after an addition, gives the IVREL picker's
    // button the focus back after OK too, and puts the focus in the comment box.
    enum class DialogFollowUp { Rest, UsStyle };
    virtual DialogFollowUp FollowUp() const { return DialogFollowUp::Rest; }
    virtual void StretchComment() {}
    virtual void UpdateAdditionLineCount(const ItemView& item);
    // The request combo boxes and the editable-parameter list each is filled from.
    virtual std::vector<std::pair<int, UINT>> RequestLists() const = 0;
    // Draws the text of every control but the push buttons, hidden or not,
    // at its place in the form mapped into `rc`.
    int DrawTexts(CECGDC* pDC, CRect rc);

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCommentWidthChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCmbSelChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateModify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT InterpreAddition(WPARAM wParam, LPARAM lParam);

    bool CurrentItem(ItemView& view) const;
    void CreateCommentEdit();
    void InitEditableParam();
    void SetupCtrl();
    void UpdateColor();
    void PlaceVersionLine();
    bool VersionLineShown() const;
    int LineCount(UINT uID) const;
    int FormFontHeight() const;

    // The layout, step by step.
    void HideOffSections(const Walk& walk);
    void EnableRequestControls(const ItemView& item);
    void AdjustOffset(int row, Walk& walk);
    bool IsRowVisible(int row, const ItemView& item) const;
    void PlaceRow(int row, Walk& walk, const ItemView& item);
    void GrowWrappedRows(const Walk& walk, bool& bSecondPassDue);
    using Growth = RowGrowth;
    void GrowBlock(int firstRow, int rowsPerEntry, int entries, int textColumn, const int* cumulative, int rowHeight,
                   const Growth& growth, bool& bSecondPassDue)
    {
        ::GrowWrappedRows(*this, m_controls, firstRow, rowsPerEntry, entries, textColumn, cumulative, rowHeight, growth,
                        bSecondPassDue);
    }
    void FinishScroll(const Walk& walk);

    // Code rows.
    void LookUpIvrel(int k);
    void LookUpMinnesota(int k);
    void ClearCodeRow(UINT code, UINT text, UINT mark);
    void SetAndPush(UINT uID, const CString& text);
    bool GrowRowCount(int k, bool bIvrel);
    CString MasterText(CECGXMLParser* master, const CString& path) const;
    void DeleteIvrel(int k);
    void DeleteMinnesota(int k);
    void PickCode(int k, bool bIvrel);
    void DeleteAddition(int k);
    void EditAddition(int k);
    void EditComment();
    void OpenCommentSheet(int nMode);
    void TellPaneActive();

    // Keys.
    BOOL OnTabKey();
    BOOL OnReturnKey(HWND focus);
    void WrapFocus(CWnd* from);
    bool FocusFirstUsable(UINT first, UINT last, int step);

    CFormControls m_controls;
    CWnd m_commentTemplate;            // the template's edit 3159, kept hidden
    CCheckStatic m_version;            // the version line 3807, outside the table
    int m_nCommentExtraHeight = 0;     // design units beyond four lines
    int m_nIvrelRowHeight = 22;
    int m_nMinnesotaRowHeight = 22;
    int m_bInitialized = 0;
    int m_nPageStyle = 0;
    CString m_strVersion;
    int m_nVersionHeight = -1;         // the version line's template height, pixels
    int m_nIvrelLines[kIvrelRows] = {};
    int m_nMinnesotaLines[kMinnesotaRows] = {};
    int m_nAdditionLines[kAdditionRows] = {};
    int m_nLayoutPasses = 0;
    int m_bSubID = 0;                  // the current record keeps a sub ID (read at each update)
};
