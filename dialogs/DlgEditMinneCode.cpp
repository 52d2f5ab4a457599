#include "dialogs/DlgEditMinneCode.h"

IMPLEMENT_DYNAMIC(CDlgEditMinneCode, CDlgCodePicker)

namespace {
const _CODE_PICKER_STYLE kMinnesota = {
    175, L"Minesota_mst.xml", L"ﾐﾈｿﾀの編集", 4220, L"ﾐﾈｿﾀｺｰﾄﾞ", 4221, 4222,
    L"/Minesota/First_letters/Code", L"/Minesota/Minesota_Code/Code", 4226, 4225, 4223, 4224,
    false,       // the acronym controls hidden and disabled
    false,       // every group as "%s- %s"
    false,       // a code belongs to the group that is the part before its first "-"
    L"%-5s %s", L"ﾐﾈｿﾀｺｰﾄﾞを選択してください",
};
}  // namespace

CDlgEditMinneCode::CDlgEditMinneCode(CWnd* pParent) : CDlgCodePicker(kMinnesota, pParent)
{
}

CDlgEditMinneCode::~CDlgEditMinneCode() = default;
