#include "dialogs/DlgEditIvrelCode.h"

IMPLEMENT_DYNAMIC(CDlgEditIvrelCode, CDlgCodePicker)

namespace {
const _CODE_PICKER_STYLE kIvrel = {
    122, L"Ivrel12.xml", L"IVRELの編集", 3496, L"IVRELｺｰﾄﾞ", 3490, 3491,
    L"/Ivrel/First_letters/Code", L"/Ivrel/Ivrel_code/Code", 3495, 3492, 3493, 3494,
    true,        // the acronym controls shown, disabled
    true,        // groups of two letters indented
    true,        // a code belongs to the group its value begins with
    L"%5s %s", L"IVRELｺｰﾄﾞを選択してください",
};
}  // namespace

CDlgEditIvrelCode::CDlgEditIvrelCode(CWnd* pParent) : CDlgCodePicker(kIvrel, pParent)
{
}

CDlgEditIvrelCode::~CDlgEditIvrelCode() = default;
