// The Minnesota and IVREL print block of CECGPrintBase: additions, codes,
// judgement, statements, recommendation, comment and confirmation in a
// budget of eight print lines that the additions, codes and comment share.
#include <algorithm>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"

namespace {
constexpr int kLine = 18;   // one print line, thousandths of the printable height
const wchar_t kMinnesotaList[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
const wchar_t kIvrelList[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";
// An "other" line lists at most this many codes once nine or more are left.
constexpr int kOtherCodes = 6;
constexpr int kLongOtherList = 9;

CString CodeText(const CString& marker, const CString& code)
{
    CString text;
    if (marker.IsEmpty())
        text.Format(L" %s", code.GetString());
    else
        text.Format(L"%s%s", marker.GetString(), code.GetString());
    return text;
}
}  // namespace

// The rows of the block in one template.
struct CECGPrintBase::MinnesotaRows {
    int nTable;
    int nAddition;       // caption of the additions; titles and contents follow
    int nMinneTitle;     // the codes follow in pairs: code row, statement row
    int nMinneOther;     // caption of the other line; its list row follows
    int nIvrelTitle;     // judgement code and text rows follow, then the statement pairs
    int nIvrelPairs;     // statement pairs the template has
    int nIvrelOther;
    int nRecommend;      // caption; the recommendation, the comment caption, the comment
                         // and the confirmation rows follow
};

// One run of the block: the budget, the code counts and the shift as the
// sections use their lines.
class CECGPrintBase::CMinnesotaBlock {
public:
    CMinnesotaBlock(CECGPrintBase& report, const CRect& rcBlock, const MinnesotaRows& rows)
        : r(report), rc(rcBlock), rows(rows), table(rows.nTable)
    {
    }

    void Print()
    {
        PrintAdditions();
        SetBudget();
        CountCodes();
        ShareSpareLines();
        PrintMinnesota();
        PrintJudgement();
        PrintIvrel();
        PrintComment();
    }

private:
    // ---- steps ------------------------------------------------------------------------------
    void PrintAdditions()
    {
        const _POSITION_CTRL* rowsOf = r.PrintTable(table);
        const bool model8000 = r.m_pDoc && r.m_pDoc->Is8000File();
        const bool shown = (r.m_nVisibleMask & rowsOf[rows.nAddition].bVisible) && !model8000;
        used = shown ? r.PrintAdditions(table, rows.nAddition, rc, 0) : 0;
        shift = kLine * used;
    }

    void SetBudget()
    {
        if (used >= 2) {
            lc = 5 - used, lm = 2, le = 1;
        } else {
            lc = 3, lm = 3 - used, le = 2;
        }
    }

    void CountCodes()
    {
        m = std::max(0, r.m_pXMLParser ? r.m_pXMLParser->GetObjectCount(kMinnesotaList) - 1 : 0);
        if (m == 7 && !NodeAttribute(kMinnesotaList, 8, L"title").IsEmpty()) m = 8;
        e = std::max(0, r.m_pXMLParser ? r.m_pXMLParser->GetObjectCount(kIvrelList) - 1 : 0);
        if (e == 10 && !NodeAttribute(kIvrelList, 11, L"title").IsEmpty()) e = 11;
    }

    void ShareSpareLines()
    {
        if (lc < 3 && (m < lm || e < le)) {
            const int spare = std::max(0, lm - m) + std::max(0, le - e);
            lm = std::min(lm, m);
            le = std::min(le, e);
            if (spare >= 3 - lc) {
                le += spare - (3 - lc);
                lc = 3;
            } else {
                lc += spare;
            }
            sharing = false;
        } else if (lc == 3 && e < le) {
            lm += le - e;
            le = e;
        }
    }

    void PrintMinnesota()
    {
        r.DrawRow(table, rows.nMinneTitle, rc, shift, r.RowText(table, rows.nMinneTitle));
        const bool overflow = m > lm;
        const int lines = overflow ? lm - 1 : m;
        for (int k = 1; k <= lines; ++k) PrintCodeLine(rows.nMinneTitle - 1 + 2 * k, true);
        if (overflow) {
            const int otherShift = shift + kLine * (lm - 2);
            r.DrawRow(table, rows.nMinneOther, rc, otherShift, r.RowText(table, rows.nMinneOther));
            r.DrawRow(table, rows.nMinneOther + 1, rc, otherShift, OtherList(kMinnesotaList, lm, m + 1, true));
        }
        shift += kLine * ((overflow ? lm : m) - 2);
        if (m < lm && sharing) le += lm - m;
    }

    void PrintJudgement()
    {
        const int codeRow = rows.nIvrelTitle + 1, textRow = rows.nIvrelTitle + 2;
        r.DrawRow(table, rows.nIvrelTitle, rc, shift, r.RowText(table, rows.nIvrelTitle));
        const CString code = r.RowValue(table, codeRow);
        const CString stored = r.RowValue(table, textRow);
        const CString master = code.IsEmpty() ? CString() : MasterJudgement(code);
        if (!stored.IsEmpty() && stored.CompareNoCase(master) == 0) {
            r.DrawRow(table, codeRow, rc, shift, L" " + code);
            r.DrawRow(table, textRow, rc, shift, stored);
            return;
        }
        // No judgement line: its line goes to the statements.
        shift -= kLine;
        ++le;
    }

    void PrintIvrel()
    {
        const bool overflow = e > le;
        const int lines = std::min(overflow ? le - 1 : e, rows.nIvrelPairs);
        for (int k = 1; k <= lines; ++k) PrintCodeLine(rows.nIvrelTitle + 1 + 2 * k, false);
        if (overflow) {
            const int otherShift = shift + kLine * (lines - 1);
            r.DrawRow(table, rows.nIvrelOther, rc, otherShift, r.RowText(table, rows.nIvrelOther));
            r.DrawRow(table, rows.nIvrelOther + 1, rc, otherShift, OtherList(kIvrelList, lines + 1, e + 1, false));
            shift = otherShift + kLine;
        } else {
            shift += kLine * (e - 1);
            lc += le - e;
        }
    }

    void PrintComment()
    {
        const int recommend = rows.nRecommend;
        r.DrawRow(table, recommend, rc, shift, r.RowText(table, recommend));
        r.CommentRow(table, recommend + 1, rc, shift, r.RowText(table, recommend + 1), 1);
        r.DrawRow(table, recommend + 2, rc, shift, r.RowText(table, recommend + 2));
        const int printed = r.CommentRow(table, recommend + 3, rc, shift, r.RowText(table, recommend + 3), lc);
        shift += printed == 0 ? -kLine : kLine * (printed - 1);
        PrintConfirmation(recommend + 4);
    }

    void PrintConfirmation(int row)
    {
        auto* rest = r.m_DocType == 0 ? dynamic_cast<CRestViewDoc*>(r.m_pDoc) : nullptr;
        const CString text = rest && rest->GetCurrentDataItem() ? r.GetRestConfirmInfo(DATA_TIME_CONFIRM) : CString();
        const _POSITION_CTRL& layout = r.PrintTable(table)[row];
        // A confirmed record states it even where the layout hides the row.
        if (!(r.m_pDoc && r.m_pDoc->IsDoctorConfirm()) && !layout.bVisible) return;
        CRect rect = r.RowRect(rc, layout, shift);
        r.m_pECGDC->DrawText(text, &rect, DT_NOCLIP);
    }

    // ---- pieces -------------------------------------------------------------------------------
    // A code row and its statement row: the statement row prints the code
    // in the code row's place and its own text wrapped to one line.
    void PrintCodeLine(int codeRow, bool minnesota)
    {
        const int statementRow = codeRow + 1;
        const CString code = r.RowValue(table, codeRow, 0);
        const CString statement = r.RowText(table, statementRow);
        if (!minnesota && (statement.IsEmpty() || !r.m_pDoc || !r.m_pDoc->IsIvrelValid(code, statement))) return;
        if (!r.IsRowVisible(table, statementRow)) return;
        if (r.IsRowVisible(table, codeRow))
            r.DrawRow(table, codeRow, rc, shift, CodeText(r.RowValue(table, codeRow, 1), code));
        r.CommentRow(table, statementRow, rc, shift, statement, 1);
    }

    // The code texts of nodes first to last, three blanks after each; a code
    // the master does not hold leaves only its blanks.
    CString OtherList(const wchar_t* list, int first, int last, bool minnesota)
    {
        CString text;
        const bool longList = last - first + 1 >= kLongOtherList;
        int listed = 0;
        for (int node = first; node <= last; ++node) {
            if (longList && listed == kOtherCodes) {
                text += L"...";
                break;
            }
            const CString code = NodeAttribute(list, node, L"title");
            const bool valid = r.m_pDoc && (minnesota ? r.m_pDoc->IsMinnesotaNotMatchingValid(code, CString())
                                                      : r.m_pDoc->IsIvrelValid(code, CString()));
            if (valid) text += CodeText(NodeAttribute(list, node, L"mask"), code);
            text += L"   ";
            ++listed;
        }
        return text;
    }

    CString NodeAttribute(const wchar_t* list, int node, const wchar_t* name)
    {
        CString path, value;
        path.Format(L"%s[%d]", list, node);
        if (r.m_pXMLParser) r.m_pXMLParser->GetDataFromXMLDOM(value, path, 2, CString(name));
        return value;
    }

    CString MasterJudgement(const CString& code)
    {
        CString path, text;
        path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", L"Ivrel12.xml");
        CECGXMLParser master(path, 0, CString());
        CString xpath;
        xpath.Format(L"/Ivrel/Judgement_code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
        master.GetDataFromXMLDOM(text, xpath, 4, CString());
        return text;
    }

    CECGPrintBase& r;
    CRect rc;
    const MinnesotaRows& rows;
    int table;
    int used = 0;      // print lines of the additions
    int shift = 0;     // thousandths of the printable height, added to every row's top
    int lc = 3, lm = 3, le = 2;
    int m = 0, e = 0;
    bool sharing = true;
};

int CECGPrintBase::PrintMiniAndIvrel(CRect rcBlock)
{
    static const MinnesotaRows kRows = {8, 53, 60, 71, 73, 7, 90, 92};
    return PrintMinnesotaBlock(rcBlock, kRows);
}

int CECGPrintBase::PrintAmeMiniAndIvrel(CRect rcBlock)
{
    static const MinnesotaRows kRows = {9, 41, 48, 59, 61, 6, 76, 78};
    return PrintMinnesotaBlock(rcBlock, kRows);
}

int CECGPrintBase::PrintMinnesotaBlock(CRect rcBlock, const MinnesotaRows& rows)
{
    if (!PrintTable(rows.nTable) || !m_pECGDC) return 1;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    CMinnesotaBlock(*this, rcBlock, rows).Print();
    return 1;
}
