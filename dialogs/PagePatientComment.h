// The interpretation comment page of the resting and MFER sheet: up to 8
// Minnesota codes, up to 11 IVREL codes with their statements, the overall
// judgement and the comment. Codes are looked up in the two masters of the
// work directory; every edit of a row marks it "#". The sheet asks the page
// whether anything changed and has it write into the current item; the
// page never writes the record XML itself.
#pragma once

#include <memory>

#include "dialogs/PagePatientBase.h"

class CDC;
class CECGXMLParser;
class CFont;
class CScrollBar;
class CTavrionDoc;
struct _INTERPRE_INFO_REST;

#define COMMENT_PAGE_MINNESOTA 8
#define COMMENT_PAGE_IVREL 11

class CPagePatientComment : public CPagePatientBase {
    DECLARE_DYNAMIC(CPagePatientComment)

public:
    enum { IDD = 107 };
    CPagePatientComment();
    ~CPagePatientComment() override;

    // Non-zero when the page differs from the current item; sets (never
    // clears) the comment-changed and code-changed flags.
    int IsDataChange();
    int IsCommentChange() const { return m_bCommentChange; }
    int IsCodeChange() const { return m_bCodeChange; }
    // Writes the comment into the current item and, when the codes or the
    // judgement differ from the item's, the codes, compacted, the statements
    // and texts from the masters and the judgement. Codes nobody changed stay
    // as stored, marks and master texts included.
    void SaveDataToItem();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnClearAll();
    afx_msg void OnDeleteIvrelCode(UINT id);
    afx_msg void OnSelectIvrelCode(UINT id);
    afx_msg void OnDeleteMinnesotaCode(UINT id);
    afx_msg void OnSelectMinnesotaCode(UINT id);
    afx_msg void OnKillFocusIvrelCode(UINT id);
    afx_msg void OnKillFocusMinnesotaCode(UINT id);
    afx_msg void OnEditComment();
    afx_msg void OnUpdateComment();
    // The length guard of the Minnesota and IVREL code fields.
    afx_msg void OnUpdateCode(UINT id);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // The current item's interpretation record and system code; null for
    // another kind or without an item.
    _INTERPRE_INFO_REST* CurrentRecord(unsigned int* systemCode = nullptr) const;
    bool IsReadOnly() const;
    void InitReadOnlyLayout();
    void InitControls();
    void LoadRows();
    void SelectJudgement(const CString& stored);
    // The master's statement of an IVREL code, or of a judgement code.
    CString IvrelStatement(const CString& code) const;
    CString MinnesotaText(const CString& code) const;
    void ClearIvrelRow(int row);
    void PaintReadOnly(CDC& dc);
    // Whether a code, a statement or the judgement choice differs from `record`.
    bool CodesDiffer(const _INTERPRE_INFO_REST& record) const;

    int m_bCommentChange;
    int m_bCodeChange;
    std::unique_ptr<CECGXMLParser> m_pIvrel;       // Ivrel12.xml of the work directory
    std::unique_ptr<CECGXMLParser> m_pMinnesota;   // Minesota_mst.xml
    int m_bPainted;                                // 1 after the first WM_PAINT
    int m_nLoadedJudgement;                        // the judgement list's selection when the page opened
};
