// The interpretation form of resting records (12 and 15 leads, and MFER
// records of those kinds): request data, measurements, editor stamps, up to
// three additions, eight Minnesota and eleven IVREL code rows with the
// judgement, the recommendation, the comment and the confirmation, in one
// scrolling column placed from the layout table Interpre_rest. Sections
// switched off, hidden rows and unused code rows close up; rows whose texts
// wrap grow. Codes typed are looked up in the masters; the row buttons open
// the pickers and phrase editors; Tab chains to the next form through the
// pane; Print draws the form's texts into a report rectangle.
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

class CFormInterpre : public CFormInterpreBase {
    DECLARE_DYNCREATE(CFormInterpre)

public:
    enum { IDD = 114 };
    static constexpr int kRowCount = 166;
    static constexpr int kIvrelRows = 11;
    static constexpr int kMinnesotaRows = 8;
    static constexpr int kAdditionRows = 3;

    CFormInterpre();
    ~CFormInterpre() override;

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

    void SetPageStyle(int nStyle) { m_nPageStyle = nStyle; }
    int InsertEditableParam();
    virtual int Print(CECGDC* pDC, CRect rc);
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
    // The forms that share this one's code rows, buttons and keys: their
    // template and the controls of their layout rows.
    CFormInterpre(UINT nIDTemplate, std::vector<FormRow> rows);

    struct Walk;

    // What differs between the rest forms.
    virtual const _POSITION_CTRL* Layout() const;
    virtual void TakeRowHeights(const _POSITION_CTRL* table);
    virtual int CommentRow() const { return 157; }
    virtual int CommentBaseLines() const { return 4; }
    virtual int ChainSource() const { return 2; }
    // Wrapping inside the form: from the comment the first usable id from
    // WrapFirstId() up; from elsewhere the first from the comment down to WrapLastId().
    virtual UINT WrapFirstId() const { return 3030; }
    virtual UINT WrapLastId() const { return 3031; }
    virtual bool EditsAdditions() const { return true; }
    virtual void StretchComment() {}
    virtual void UpdateAdditionLineCount(const ItemView& item);
    // The request combo boxes and the editable-parameter list each is filled from.
    virtual std::vector<std::pair<int, UINT>> RequestLists() const;

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
    DECLARE_MESSAGE_MAP()

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
    void GrowRowCount(int k, bool bIvrel);
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
