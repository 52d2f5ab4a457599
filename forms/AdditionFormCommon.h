// What the master-step form and the rhythm, RR and extra form share, kept
// out of either form's own class: the bound controls of their layout rows,
// the placement walk with the additions block that closes up, the wrapped
// addition rows, the comment and its height, the addition and comment
// editors, the patient and comment sheet, the scroll handling and the Tab
// and Return keys. It has no runtime class and no message map of its own:
// each form names its own class and routes its own messages, so neither form
// answers as a kind of the other.
#pragma once

#include "forms/FormControls.h"
#include "forms/FormInterpreBase.h"

#include <utility>
#include <vector>

class CMultiEdit;
struct _ADDITIONAL_INFO;
struct _POSITION_CTRL;

class CAdditionFormCommon : public CFormInterpreBase {
public:
    ~CAdditionFormCommon() override;

    int InsertEditableParam();
    void InitCheckUIArray() override;
    void MoveCtrl(int bRetry) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Cumulative extra lines of addition row `row` (0 to 2); 0 for any other row.
    int GetAdditionLineCount(int row) const;

    CWnd* GetRowControl(int row) const { return m_controls.Row(row); }
    CMultiEdit* GetCommentEdit() const;
    int GetCommentExtraHeight() const { return m_nCommentExtraHeight; }
    int GetLayoutPasses() const { return m_nLayoutPasses; }

protected:
    // The entries and ids that place the additions, the comment and the
    // confirmation; the rhythm, RR and extra form has its own.
    struct Shape {
        int heading;            // the additions heading
        int firstAddition;      // the first title entry; four entries a row
        int link;               // the more-additions link
        int closeTo;            // with the additions off the rows close up to this entry's top
        int stepRow;            // the offset loses two units here (below the link)
        int commentRow;         // the comment field
        int commentExtraRow;    // the offset loses the comment's extra height here
        bool extraNeedsLabel;   // ... only while the comment label's entry is visible
        int commentLabel;
        int firstConfirm, lastConfirm;
        UINT firstTitle, firstDel, firstEdit, firstContent;
        UINT commentButton, commentTemplate;
        UINT wrapUpFirst, wrapUpLast, wrapDownFirst, wrapDownLast;
        int lastRow;
    };
    // What the form reads of the current item; false without one.
    struct AdditionItem {
        const _ADDITIONAL_INFO* addition = nullptr;
        int bConfirmed = 0;
        unsigned int uSystemCode = 0;
    };
    // The running state of one placement pass.
    struct Walk {
        const _POSITION_CTRL* t = nullptr;
        double fx = 1.0, fy = 1.0;
        int fh = 12;
        bool additions = false;
        int offset = 0;
        int lowest = 0;
        bool anyShown = false;
        int kept = 0;           // the offset kept at the additions heading (the lead-name line)
        CRect client;
        int rangeMin = 0, rangeMax = 0, position = 0;
    };

    CAdditionFormCommon(UINT nIDTemplate, std::vector<FormRow> rows);

    virtual const Shape& GetShape() const = 0;
    virtual const _POSITION_CTRL* Layout() const = 0;
    virtual bool CurrentAdditionItem(AdditionItem& item) const = 0;
    virtual bool AdditionsOn(const AdditionItem& item) const = 0;
    virtual std::vector<std::pair<int, UINT>> RequestLists() const = 0;
    virtual int CommentBaseLines() const { return 6; }
    virtual bool EditsAdditions() const = 0;
    virtual void SetupCtrl() = 0;
    // The rules of a row before it is placed (the offset's steps).
    virtual void AdjustOffset(int row, Walk& walk);
    // A row the form places by rules of its own; true when done.
    virtual bool PlaceOwnRow(int row, Walk& walk) { (void)row; (void)walk; return false; }
    // The top the rows below a hidden row close up to.
    virtual int ClosingTop(int row, const Walk& walk) const;
    // The controls that lose a scroll bar's width when the content is higher than the client.
    virtual std::vector<UINT> ScrollNarrowed() const = 0;
    // The IVREL judgement combo box the set-up fills; 0 for a form without one.
    virtual UINT JudgementComboId() const { return 0; }
    // Controls besides the combo boxes and the comment that each paint of the form erases again.
    virtual std::vector<UINT> RepaintedWithForm() const { return {}; }

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCommentWidthChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT InterpreAddition(WPARAM wParam, LPARAM lParam);

    int FontHeight() const;
    void InitEditableParam();
    void UpdateColor();
    void UpdateAdditionLineCount();
    void PlaceRow(int row, Walk& walk, const AdditionItem& item);
    void MoveRow(int row, CWnd& control, const Walk& walk, int offset, CRect* placed = nullptr);
    void TakeScrollBar(Walk& walk);
    void TellPaneActive();
    void DeleteAddition(int k);
    void EditAddition(int k);
    void EditComment();
    void OpenSheet(int nPage);
    BOOL OnTabKey();
    bool FocusFirstUsable(int first, int last, int step);

    CFormControls m_controls;
    CWnd m_commentTemplate;            // the template's edit 3621, kept hidden
    int m_nCommentExtraHeight = 0;     // design units beyond six lines
    int m_bInitialized = 0;
    int m_nAdditionLines[3] = {};
    int m_nLayoutPasses = 0;
};
