#include "dialogs/DlgEditLeadName.h"

#include <string>

#include "core/ConstTables.h"
#include "core/ECGData.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/base/PathNames.h"
#include "platform/xml/XmlSaveFile.h"

IMPLEMENT_DYNAMIC(CDlgEditLeadName, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditLeadName, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
    ON_CONTROL_RANGE(CBN_EDITUPDATE, 3803, 3805, OnCmbEditUpdate)
    ON_CONTROL_RANGE(CBN_EDITUPDATE, 3826, 3834, OnCmbEditUpdate)
    ON_CONTROL_RANGE(EN_UPDATE, 4080, 4085, OnEditUpdate)
END_MESSAGE_MAP()

namespace {
constexpr int kFreezeFirstCode = 119;
constexpr int kFreezeLastCode = 124;
constexpr int kFreezeIdOffset = 3961;   // a freeze edit's id is its lead code plus this

bool IsFreezeCode(int code) { return code >= kFreezeFirstCode && code <= kFreezeLastCode; }

CString Trimmed(CString text)
{
    text.Trim();
    return text;
}
}  // namespace

CDlgEditLeadName::CDlgEditLeadName(UINT nIDTemplate, CWnd* pParent, const Design& design, int nDefaultKind)
    : CDlgModal(nIDTemplate, pParent), m_nDocType(nDefaultKind), m_design(design)
{
}

CDlgEditLeadName::~CDlgEditLeadName() = default;

const std::vector<CString>& CDlgEditLeadName::PositionNames()
{
    static const std::vector<CString> names = [] {
        std::vector<CString> list;
        CString name;
        for (int n = 7; n <= 9; ++n) {
            name.Format(L"V%d", n);
            list.push_back(name);
        }
        for (int n = 2; n <= 9; ++n) {
            name.Format(L"V%dR", n);
            list.push_back(name);
        }
        return list;
    }();
    return names;
}

int CDlgEditLeadName::PositionCode(const CString& name)
{
    if (name.IsEmpty()) return 0;
    for (int code : {9, 10, 11, 12, 13, 14, 15, 66, 67, 68, 69}) {
        const wchar_t* standard = GetMFERLeadCodeName(code);
        if (standard && name == standard) return code;
    }
    return 0;
}

bool CDlgEditLeadName::IsFreezeLead(const Target& target, int lead) const
{
    return lead < LEAD_NAME_FREEZE && IsFreezeCode(target.pNames->nFreezeCode[lead]);
}

int CDlgEditLeadName::BoxOf(int lead, const Target& target) const
{
    if (!m_design.bFreeze) return m_design.nFirstBox + lead;
    return target.pNames->nFreezeCode[lead] + kFreezeIdOffset;
}

void CDlgEditLeadName::ShowText()
{
    SetWindowText(L"誘導名の編集");
    SetDlgItemText(IDOK, L"OK");
    SetDlgItemText(IDCANCEL, L"取消");
    for (int i = 0; i < m_design.nBoxes; ++i) {
        CString label;
        label.Format(m_design.pszLabel, i + 1);
        SetDlgItemText(m_design.nFirstLabel + i, label);
    }
    if (!g_pDlgFontNormal) return;
    SetFont(g_pDlgFontNormal);
    for (int id : {IDOK, IDCANCEL})
        if (CWnd* control = GetDlgItem(id)) control->SetFont(g_pDlgFontNormal);
    for (int i = 0; i < m_design.nBoxes; ++i)
        for (int id : {m_design.nFirstBox + i, m_design.nFirstLabel + i})
            if (CWnd* control = GetDlgItem(id)) control->SetFont(g_pDlgFontNormal);
}

void CDlgEditLeadName::ShowName(int box, const CString& name)
{
    if (m_design.bFreeze) {
        SetDlgItemText(box, name);
        NoteLoadedText(GetDlgItem(box));
        return;
    }
    int index = static_cast<int>(SendDlgItemMessage(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name))));
    if (index < 0)
        index = static_cast<int>(
            SendDlgItemMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name))));
    SendDlgItemMessage(box, CB_SETCURSEL, index);
    NoteLoadedText(GetDlgItem(box));
}

CString CDlgEditLeadName::ReadName(int box)
{
    CString text;
    GetDlgItemText(box, text);
    return Trimmed(text);
}

BOOL CDlgEditLeadName::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    ShowText();
    for (int i = 0; i < m_design.nBoxes; ++i) {
        const int box = m_design.nFirstBox + i;
        if (m_design.bFreeze) {
            SendDlgItemMessage(box, EM_LIMITTEXT, m_design.nLimit);
            if (CWnd* edit = GetDlgItem(box)) edit->EnableWindow(FALSE);
            continue;
        }
        for (const CString& name : PositionNames())
            SendDlgItemMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name)));
    }

    Target target;
    if (!m_pDoc || !FindTarget(target)) return FALSE;
    m_bCustomName = target.pNames->bChanged;

    m_strCurrent.assign(static_cast<size_t>(target.nLeads), CString());
    for (int lead = 0; lead < target.nLeads; ++lead) {
        if (m_design.bFreeze) {
            if (!IsFreezeLead(target, lead)) continue;
            m_strCurrent[lead] = Trimmed(target.pNames->strDispName[lead]);
            if (CWnd* edit = GetDlgItem(BoxOf(lead, target))) edit->EnableWindow(TRUE);
        } else {
            m_strCurrent[lead] = Trimmed(target.pNames->strDispName[target.nDispOffset + lead]);
            SendDlgItemMessage(BoxOf(lead, target), CB_LIMITTEXT, m_design.nLimit);
        }
        ShowName(BoxOf(lead, target), m_strCurrent[lead]);
    }
    if (!m_design.bFreeze)
        for (int i = target.nLeads; i < m_design.nBoxes; ++i)
            if (CWnd* box = GetDlgItem(m_design.nFirstBox + i)) box->EnableWindow(FALSE);

    if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(!m_pDoc->IsReadOnly() && m_pDoc->IsSaveEditor());
    return TRUE;
}

void CDlgEditLeadName::OnCmbEditUpdate(UINT id)
{
    // A name the record holds past the limit stays whole; only what is
    // typed is kept within it.
    GuardComboTextLength(GetDlgItem(static_cast<int>(id)), m_design.nLimit);
}

void CDlgEditLeadName::OnEditUpdate(UINT id)
{
    if (CWnd* edit = GetDlgItem(static_cast<int>(id))) GuardTextLength(*edit, m_design.nLimit);
}

void CDlgEditLeadName::ApplyNames(const Target& target, const std::vector<CString>& names)
{
    _LEAD_NAME_INFO& info = *target.pNames;
    const bool anyFreezeChange = [&] {
        for (int lead = 0; lead < target.nLeads; ++lead)
            if (IsFreezeLead(target, lead) && names[lead] != m_strCurrent[lead]) return true;
        return false;
    }();
    for (int lead = 0; lead < target.nLeads; ++lead) {
        if (m_design.bFreeze) {
            if (!anyFreezeChange || !IsFreezeLead(target, lead)) continue;
            info.strDispName[lead] = names[lead];
            info.strFreezeName[lead] = names[lead];
            continue;
        }
        if (m_design.written == Written::Changed && names[lead] == m_strCurrent[lead]) continue;
        CString& shown = info.strDispName[target.nDispOffset + lead];
        const int code = PositionCode(names[lead]);
        info.nCode[lead] = code;
        if (code != 0) {
            shown = names[lead];
            if (m_bCustomName) {
                info.nFlag[lead] = 0;
                info.strEditName[lead].Empty();
            }
        } else if (m_bCustomName) {
            info.nFlag[lead] = 1;
            info.strEditName[lead] = names[lead];
            shown = names[lead];
        }
    }
}

bool CDlgEditLeadName::WriteRecord(const Target& target)
{
    _ECGDATA* image = target.pImage;
    // A record whose image cannot be brought to a writable state keeps the
    // file it has: nothing is written.
    if (!image || m_pDoc->ecgSetData(image, ECG_TAG_COMMIT, 0, nullptr, 0, ECG_DATA_RAW) == 0) {
        CTavrionMessage box(L"ファイル書き込みエラーです。", 1, nullptr, nullptr, MB_OK);
        return false;
    }
    // The new bytes go to a file beside the record and replace it only when
    // complete, so a failed write leaves the old record as it was. A record
    // that cannot be opened for writing (no path, a read-only file, no room
    // for the working file beside it) says so; bytes that could not be
    // written say that.
    const std::string bytes(reinterpret_cast<const char*>(image->byFileData), image->dwFileLength);
    platform::XmlSaveStep failed = platform::XmlSaveStep::CreateTemporary;
    const std::string path =
        target.strFilePath.IsEmpty() ? std::string() : platform::NativePath(static_cast<LPCWSTR>(target.strFilePath));
    if (!platform::ReplaceFileContents(path, bytes, &failed)) {
        CTavrionMessage box(failed == platform::XmlSaveStep::CreateTemporary ? L"作業用一時ファイルの作成に失敗しました。"
                                                                             : L"ファイル書き込みエラーです。",
                            1, nullptr, nullptr, MB_OK);
        return false;
    }
    return true;
}

void CDlgEditLeadName::OnOK()
{
    Target target;
    if (!m_pDoc || !FindTarget(target)) return;

    std::vector<CString> names(static_cast<size_t>(target.nLeads));
    for (int lead = 0; lead < target.nLeads; ++lead)
        if (!m_design.bFreeze || IsFreezeLead(target, lead)) names[lead] = ReadName(BoxOf(lead, target));
    m_strCurrent.resize(names.size());

    if (!m_design.bFreeze) {
        for (int a = 0; a < target.nLeads; ++a) {
            for (int b = a + 1; b < target.nLeads; ++b) {
                if (names[a] != names[b]) continue;
                CTavrionMessage box(L"同じ誘導名は選択できません。", 1, nullptr, nullptr, MB_OK);
                for (int lead = 0; lead < target.nLeads; ++lead) ShowName(BoxOf(lead, target), m_strCurrent[lead]);
                return;
            }
        }
    }
    if (names == m_strCurrent) {
        EndDialog(IDOK);
        return;
    }

    CString editor;
    if (!CEditingOk::Ask(CEditingOk::Prompt::Editor, m_pDoc, editor)) {
        EndDialog(IDCANCEL);
        return;
    }

    // Memory, device record and record XML must agree: a failed write puts
    // the item's lead fields back.
    const _LEAD_NAME_INFO before = *target.pNames;
    ApplyNames(target, names);
    if (!WriteRecord(target)) {
        *target.pNames = before;
        return;
    }
    m_strCurrent = names;

    _PATIENT_INFO* patient = target.pPatient;
    CTavrionDoc* doc = m_pDoc;
    CEditingOk::StampEdit(doc, target.stamp, editor, CEditingOk::RecordTime::Stamp,
                          [doc, patient] { return doc->IsEidtChange(patient); });
    // A record XML that cannot be written is told to the user by the commit,
    // which then notifies nobody; the record file already holds the names.
    CEditingOk::Commit(doc, CEditingOk::StandardOrder());
    EndDialog(IDOK);
}
