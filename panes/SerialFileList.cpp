#include "panes/SerialFileList.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "core/ConstTables.h"
#include "core/DataItem.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgSerialCom.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "waveviews/ViewSerialComRhy.h"

namespace panes {

namespace {

constexpr unsigned kMfer12 = 0x800C;
constexpr unsigned kMfer15 = 0x800F;
constexpr int kDateTimeLength = 16;
constexpr int kCaptionFrom = 2;
constexpr int kCaptionLength = 14;
constexpr int kLongEntry = 18;

bool IsRestCode(unsigned code)
{
    const unsigned low = code & 0xFF;
    return low == 0 || low == 11 || low == 226 || low == 227 || low == 254 || low == 255;
}

bool IsFullMferKind(unsigned code) { return code == kMfer12 || code == kMfer15; }

// The items of a document's list by their record file, so that a list of a
// thousand records is matched in one pass rather than one pass per record.
// A lookup keeps the manager's rule: the first item of that file whose XML
// path and third key match, an empty key of the listed record matching any.
template <class Item> class ItemIndex {
public:
    explicit ItemIndex(Item* head)
    {
        for (Item* item = head; item; item = item->pNext) m_byFile[Key(item->strFilePath)].push_back(item);
    }
    Item* Find(const _DATAITEM* listed) const
    {
        auto found = m_byFile.find(Key(listed->strFilePath));
        if (found == m_byFile.end()) return nullptr;
        for (Item* item : found->second) {
            if (!listed->strXMLPath.IsEmpty() && item->strXMLPath.CompareNoCase(listed->strXMLPath) != 0) continue;
            if (!listed->strThirdKey.IsEmpty() && item->strThirdKey.CompareNoCase(listed->strThirdKey) != 0) continue;
            return item;
        }
        return nullptr;
    }

private:
    static std::wstring Key(const CString& path)
    {
        CString lower = path;
        lower.MakeLower();
        return std::wstring(lower.GetString());
    }
    std::unordered_map<std::wstring, std::vector<Item*>> m_byFile;
};

template <class Item> Item* HeadOf(CDataManager<Item>* manager) { return manager ? manager->GetListHeader() : nullptr; }

}  // namespace

// ---- a record's texts ------------------------------------------------------------------------

CString SerialRecord::DateTime() const
{
    const CString text = rest ? rest->stPatient.strAcqTime : mfer ? mfer->stPatient.strAcqTime : CString();
    if (text.Find(L'*') >= 0) return CString();
    return text.Left(kDateTimeLength);
}

CString SerialRecord::PatientID() const
{
    return rest ? rest->stPatient.strPatientID : mfer ? mfer->stPatient.strPatientID : CString();
}

CString SerialRecord::HeartRate() const
{
    return rest ? rest->stMeasure.strGlobal[0] : mfer ? mfer->stMeasure.strGlobal[0] : CString();
}

CString SerialRecord::Comment() const
{
    return rest ? rest->stInterpre.strComment : mfer ? mfer->stInterpre.strComment : CString();
}

CString SerialRecord::StageText() const
{
    return rest ? rest->strMasterStep : mfer ? mfer->strMasterStep : CString();
}

unsigned SerialRecord::Kind() const
{
    if (rest) return rest->uSystemCode;
    if (mfer) return mfer->uSystemCode;
    return listed ? listed->uSystemCode : 0;
}

// ---- comparable records ----------------------------------------------------------------------

bool IsComparableCode(unsigned code) { return IsRestCode(code) || IsFullMferKind(code); }

SerialRecord FindSerialRecord(CTavrionDoc* base, CRestViewDoc* rest, CMFERViewDoc* mfer, int index)
{
    SerialRecord record;
    record.listed = CViewSerialComRhy::FindComparableItem(base, index);
    if (!record.listed) return record;
    record.rest = CViewSerialComRhy::FindRestItem(rest, record.listed);
    if (!record.rest) record.mfer = CViewSerialComRhy::FindMferItem(mfer, record.listed);
    return record;
}

// ---- labels ----------------------------------------------------------------------------------

CString SerialKindLabel(unsigned kind, BOOL mfer)
{
    if (mfer) return g_strSerialKindLabel[6];
    switch (kind) {
    case 0x0000:
    case 0x00FE: return g_strSerialKindLabel[0];
    case 0xFFFE: return g_strSerialKindLabel[1];
    case 0xFFFF: return g_strSerialKindLabel[2];
    case 0x000B: return g_strSerialKindLabel[3];
    case 0xFFE2: return g_strSerialKindLabel[4];
    case 0xFFE3: return g_strSerialKindLabel[5];
    default: return CString();
    }
}

CString SerialStageLabel(unsigned kind, BOOL mfer, const CString& stage)
{
    if (mfer) return stage;
    CString label;
    switch (kind & 0xFF) {
    case 0:
    case 11: return CString(L"安静時");
    case 254:
    case 226: return CString(L"マスタ後") + L" " + stage;
    case 255:
    case 227: label.Format(L"負荷後 %s", stage.GetString()); return label;
    default: return CString();
    }
}

CString SerialCaptionText(const CString& entry)
{
    return entry.GetLength() >= kLongEntry ? entry.Mid(kCaptionFrom, kCaptionLength) : entry;
}

// ---- the choosers ----------------------------------------------------------------------------

CWnd* ChooserCombo(CDlgSerialCom* chooser)
{
    if (!chooser || !chooser->GetSafeHwnd()) return nullptr;
    return chooser->GetDlgItem(kSerialChooserCombo);
}

void FillSerialChoosers(CTavrionDoc* base, CRestViewDoc* rest, CMFERViewDoc* mfer, CDlgSerialCom* const* choosers,
                        int count, CArray<int, int>& map)
{
    map.RemoveAll();
    for (int k = 0; k < count; ++k)
        if (CWnd* combo = ChooserCombo(choosers[k])) combo->SendMessage(CB_RESETCONTENT, 0, 0);
    if (!base) return;
    const ItemIndex<_RESTDATAITEM> restItems(rest ? rest->GetRestDataManager().GetListHeader() : nullptr);
    const ItemIndex<_MFERDATAITEM> mferItems(HeadOf(mfer ? mfer->GetMFERDataManager() : nullptr));
    // n runs over the comparable records of the list, as the views count them,
    // so that a record the documents lack still takes its index; only records
    // found get an entry, and each entry gets exactly one map value.
    int n = 0;
    for (_DATAITEM* listed = base->GetListHeader(); listed; listed = listed->pNext) {
        const unsigned code = listed->uSystemCode;
        if (!IsComparableCode(code)) continue;
        ++n;
        CString label;
        CString dateTime;
        SerialRecord record;
        record.listed = listed;
        if (CViewSerialComRhy::IsMferRecordCode(code)) {
            record.mfer = mferItems.Find(listed);
            if (!record.mfer || !IsFullMferKind(record.mfer->uSystemCode)) continue;
            label = SerialKindLabel(record.mfer->uSystemCode, TRUE);
        } else if (rest) {
            record.rest = restItems.Find(listed);
            if (!record.rest) continue;
            label = SerialKindLabel(record.rest->uSystemCode, FALSE);
        } else {
            continue;
        }
        CString number;
        number.Format(L"%d  ", n);
        CString entry;
        entry.Format(L"%s %s %s", record.DateTime().GetString(), number.Left(3).GetString(), label.GetString());
        for (int k = 0; k < count; ++k)
            if (CWnd* combo = ChooserCombo(choosers[k]))
                combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.GetString()));
        map.Add(n - 1);
    }
}

int SerialEntryOf(const CArray<int, int>& map, int index)
{
    if (index < 0) return -1;
    for (INT_PTR entry = 0; entry < map.GetSize(); ++entry)
        if (map[entry] == index) return static_cast<int>(entry);
    return -1;
}

int SerialIndexOf(const CArray<int, int>& map, int entry)
{
    if (entry >= 0 && entry < map.GetSize()) return map[entry];
    return entry < 0 ? -1 : entry;
}

void SelectChooserEntry(CDlgSerialCom* chooser, int entry)
{
    if (CWnd* combo = ChooserCombo(chooser)) combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}

int ChooserSelection(CDlgSerialCom* chooser)
{
    CWnd* combo = ChooserCombo(chooser);
    return combo ? static_cast<int>(combo->SendMessage(CB_GETCURSEL, 0, 0)) : -1;
}

CString ChooserEntryText(CDlgSerialCom* chooser, int entry)
{
    CWnd* combo = ChooserCombo(chooser);
    if (!combo || entry < 0) return CString();
    const LRESULT length = combo->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0);
    if (length <= 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    combo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

}  // namespace panes
