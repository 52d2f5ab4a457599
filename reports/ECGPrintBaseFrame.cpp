// The page frame of CECGPrintBase: title line, patient block, wrapped
// comments and the version line.
#include <cstring>

#include "core/TextColumns.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "documents/FinalViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"

namespace {
const wchar_t kPatientSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section/";
constexpr int kPatientTable = 7;
constexpr int kPatientEntries = 16;
constexpr UINT kRecoveryTimeTag = 3839;
// The character cell of the raw printer languages, which measure no font.
constexpr int kRawCellWidth = 42;
constexpr int kRawCellHeight = 84;

CString PatientPath(const wchar_t* field)
{
    return CString(kPatientSection) + field;
}

bool IsTripKind(int kindByte)
{
    return kindByte == 254 || kindByte == 243 || kindByte == 226;
}
}  // namespace

// ---- title line -----------------------------------------------------------------------------

int CECGPrintBase::PrintTitle(CString strTitle, UINT nPage, UINT nPageCount, int bNoDate, int bPatientTitle)
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    const CString head = TitleHead(strTitle, bPatientTitle);
    int x = m_rcPrint.left;
    const int y = m_rcPrint.top;
    if (!OutText(x, y, head)) return FALSE;
    x += m_pECGDC->GetTextExtent(head).cx;
    const CString label = PageLabel(nPage, nPageCount, bNoDate);
    const int star = m_pECGDC->GetTextExtent(CString(L"*")).cx;
    const int fillEnd = m_rcPrint.right - m_pECGDC->GetTextExtent(label).cx;
    // An asterisk that measures nothing would never reach the end.
    while (star > 0 && x < fillEnd) {
        if (!OutText(x, y, CString(L"*"))) return FALSE;
        x += star;
    }
    return OutText(x, y, label);
}

CString CECGPrintBase::TitleHead(const CString& strTitle, int bPatientTitle)
{
    CString head = L"****** Report ****** " + strTitle + L" **********";
    if (m_DocType == 1 && !bPatientTitle) return head + MasterStepHead();
    return head + PatientHead();
}

CString CECGPrintBase::MasterStepHead()
{
    auto* doc = dynamic_cast<CFinalViewDoc*>(m_pDoc);
    _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    CString text;
    signed char time[2] = {0, 0};
    // A tag shorter than its two bytes is no recovery time.
    if (item->pECGData && m_pDoc->ecgGetData(item->pECGData, kRecoveryTimeTag, 0, nullptr, 0, ECG_DATA_RAW) >= 2 &&
        m_pDoc->ecgGetData(item->pECGData, kRecoveryTimeTag, 0, time, 2, ECG_DATA_RAW) > 0)
        text.Format(L"負荷後 %d’%02d”", time[0], time[1]);
    const int kindByte = static_cast<int>(item->uSystemCode & 0xFF);
    if (!IsTripKind(kindByte)) return text;
    const bool figures = m_pDoc->Is8000File() == 0 && kindByte == 243;
    const _FINAL_WAVE_INFO& wave = item->stWaveInfo;
    text += L" ( " + (figures ? wave.strTripCount : CString(L" ")) + L"/" +
            (figures ? wave.strTripTotal : CString(L" ")) + L" [" + wave.strMasterStepMode + L"])";
    return text;
}

CString CECGPrintBase::PatientHead()
{
    BOOL idVisible = TRUE, nameVisible = TRUE;
    {
        CECGXMLParser stylesheet(m_pDoc ? m_pDoc->GetLocalPath() + L"\\Tavrion.xsl" : CString(), 0, CString());
        for (int tag = 1; tag <= 2; ++tag) {
            CString path, value;
            path.Format(L"/xsl:stylesheet/xsl:Visible_info/Tag[@id='%d']", tag);
            const BOOL hidden = stylesheet.GetDataFromXMLDOM(value, path, 2, CString(L"print_visible")) &&
                                value.CompareNoCase(L"false") == 0;
            (tag == 1 ? idVisible : nameVisible) = !hidden;
        }
    }
    CString text;
    if (idVisible) text += L" " + ReadXml(PatientPath(L"Patient_id")) + L" ";
    text += L"**********";
    if (nameVisible) text += L" " + ReadXml(PatientPath(L"Patient_name")) + g_strSuffix + L" ";
    return text;
}

CString CECGPrintBase::PageLabel(UINT nPage, UINT nPageCount, int bNoDate)
{
    CString label;
    if (bNoDate) {
        label.Format(L" P. %d/%d ****", nPage, nPageCount);
        return label;
    }
    CString date;
    _XML_ATTRIB_DATE when;
    if (m_pXMLParser && m_pXMLParser->GetDateAttrib(when, PatientPath(L"Acquition_date"), 0))
        date.Format(L"%04d/%02d/%02d %02d:%02d", _wtoi(when.strYear), _wtoi(when.strMonth), _wtoi(when.strDay),
                    _wtoi(when.strHour), _wtoi(when.strMinute));
    label.Format(L" %s  P. %d/%d ****", date.GetString(), nPage, nPageCount);
    return label;
}

// ---- patient block ---------------------------------------------------------------------------

int CECGPrintBase::PrintPatientInfo(CRect rcBase)
{
    if (!m_pDoc) return TRUE;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    const _POSITION_CTRL* table = m_pDoc->GetDefCtrlPos()->stPatInfoPrint;
    for (int entry = 0; entry < kPatientEntries; ++entry) {
        const _POSITION_CTRL& row = table[entry];
        if (!row.bVisible) continue;
        CRect rect;
        rect.left = rcBase.left + MulDiv(m_nPrintWidth, row.nLeft, 1000);
        rect.top = rcBase.top + MulDiv(m_nPrintHeight, row.nTop, 1000);
        // The design scales the width by the height and the height by the
        // width; stored layouts are drawn for that, so it stays.
        rect.right = rect.left + MulDiv(m_nPrintHeight, row.nWidth, 1000);
        rect.bottom = rect.top + MulDiv(m_nPrintWidth, row.nHeight, 1000);
        m_pECGDC->DrawText(PatientEntryText(entry), &rect, DT_NOCLIP);
    }
    return TRUE;
}

CString CECGPrintBase::PatientEntryText(int nEntry)
{
    auto path = [&](int entry, int alternative) { return m_pDoc->GetDefXMLPath(kPatientTable, entry, alternative); };
    switch (nEntry) {
    case 4:
    case 6:
        return FormatWeightHeight(path(nEntry, 0), path(nEntry, 1));
    case 5: {
        CString unit = FormatUnit(path(5, 0), DATA_UNIT_HEIGHT);
        return unit.IsEmpty() ? unit : unit + L" ,";
    }
    case 7:
        return FormatUnit(path(7, 0), DATA_UNIT_WEIGHT);
    case 11:
        return FormatPrintAge(path(11, 0)) + FormatPrintBirthday(path(11, 1));
    case 12:
    case 14:
        return FormatBPValue(FormatUnit(path(15, 0), DATA_UNIT_BP), path(nEntry, 0));
    case 15:
        return FormatUnit(path(15, 0), DATA_UNIT_BP);
    default:
        break;
    }
    const _POSITION_CTRL& row = m_pDoc->GetDefCtrlPos()->stPatInfoPrint[nEntry];
    if (row.arrXmlPath.GetSize() == 0) return row.strCaption;
    CString text = ReadXml(path(nEntry, 0));
    if (nEntry == 9) text += g_strSuffix;
    return text;
}

// ---- wrapped comments ------------------------------------------------------------------------

void CECGPrintBase::GetCommentMetrics(int& nLineHeight, int& nCharWidth) const
{
    // The raw printer languages measure nothing: their character cell stands in.
    TEXTMETRICW metrics;
    std::memset(&metrics, 0, sizeof metrics);
    m_pECGDC->GetTextMetrics(&metrics);
    nLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    nCharWidth = metrics.tmAveCharWidth;
    if (nLineHeight <= 0) nLineHeight = kRawCellHeight;
    if (nCharWidth <= 0) nCharWidth = kRawCellWidth;
}

int CECGPrintBase::PrintComment(const CString& strText, CRect rcText, int nMaxLines)
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    int lineHeight = 0, charWidth = 0;
    GetCommentMetrics(lineHeight, charWidth);
    std::wstring rest = strText.str();
    // Counted by the columns the characters take on paper: a character the
    // record's code page cannot hold is still drawn full width.
    for (int line = 0; line < nMaxLines; ++line) {
        if (rest.empty()) return nMaxLines - line;
        size_t taken = 0;
        int columns = 0;
        bool feed = false;
        while (taken < rest.size()) {
            ++taken;
            if (rest[taken - 1] == L'\n') {
                feed = true;
                break;
            }
            columns += GetCharColumns(static_cast<char32_t>(rest[taken - 1]));
            if (columns * charWidth + rcText.left >= rcText.right) break;
        }
        std::wstring shown = rest.substr(0, feed ? taken - 1 : taken);
        rest.erase(0, taken);
        if (line == nMaxLines - 1 && !rest.empty()) {
            // Only characters the line has can make room for the ellipsis.
            if ((GetTextColumns(shown.c_str()) + 4) * charWidth + rcText.left > rcText.right)
                shown.erase(shown.size() >= 4 ? shown.size() - 4 : 0);
            shown += L"...";
        }
        m_pECGDC->TextOut(rcText.left, rcText.top + line * lineHeight, CString(shown));
    }
    return 0;
}

// ---- version line ----------------------------------------------------------------------------

int CECGPrintBase::PrintVersion()
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
    const CString version = VersionText();
    const CString labels = VersionLabels();
    CString line = version + labels;
    if (m_pECGDC->GetTextExtent(line).cx > m_nPrintWidth) {
        line = labels;
        line.TrimLeft();
    }
    return OutText(m_rcPrint.left, m_rcPrint.bottom, line);
}

CString CECGPrintBase::VersionText()
{
    CString text = m_pDoc ? m_pDoc->GetVersionText(nullptr) : CString();
    CString type = ReadXml(L"/Rawdata/Tavrion/System/System_info/System_section/System_type");
    type.TrimRight();
    CString ivrel;
    if (m_pXMLParser)
        m_pXMLParser->GetDataFromXMLDOM(ivrel, L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles", 2,
                                        CString(L"version"));
    text += L" " + type;
    text += L" " + ReadXml(L"/Rawdata/Tavrion/System/System_info/System_section/Version");
    text += L" " + ReadXml(L"/Rawdata/Tavrion/Record/Unit_version");
    text += L" " + ivrel;
    return text;
}

CString CECGPrintBase::VersionLabels()
{
    const CString doctor = ReadXml(PatientPath(L"Request_doctor"));
    const CString technician = ReadXml(PatientPath(L"Technician"));
    const CString ward = ReadXml(PatientPath(L"Ward"));
    const CString department = ReadXml(PatientPath(L"Department"));
    CString hospital = ReadXml(PatientPath(L"Hosp_name"));
    hospital.Trim();
    CString labels;
    if (!doctor.IsEmpty()) labels += L"  依頼 : " + doctor;
    if (!technician.IsEmpty()) labels += L"  検査 : " + technician;
    if (!ward.IsEmpty() && !department.IsEmpty())
        labels += L"  所属 : " + ward + L"," + department;
    else if (!ward.IsEmpty() || !department.IsEmpty())
        labels += L"  所属 : " + ward + department;
    if (!hospital.IsEmpty()) labels += L"  施設名 : " + hospital;
    return labels;
}
