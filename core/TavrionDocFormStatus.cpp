// The show status of the bound controls that every examination form decides
// alike; each form adds its own rules through the callback.
#include "core/TavrionDoc.h"

void CTavrionDoc::UpdateFormCtrlStatus(int bConfirmed, std::initializer_list<_CONFIRM_CTRLS> blocks,
                                       const std::function<bool(UINT)>& hideAlso)
{
    int bNeedOutput = 0;
    for (const _CONFIRM_CTRLS& block : blocks) {
        CString date, doctor;
        GetCtrlData(block.uFirstDetail + 1, date);
        GetCtrlData(block.uFirstDetail + 3, doctor);
        if (!date.IsEmpty() || !doctor.IsEmpty()) bNeedOutput = 1;
    }
    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        CCheckValue& entry = m_CheckArray.ElementAt(i);
        const UINT id = entry.GetID();
        bool bText = id == 3025;
        bool bDetail = id >= 3026 && id <= 3029;
        for (const _CONFIRM_CTRLS& block : blocks) {
            bText = bText || id == block.uText;
            bDetail = bDetail || (id >= block.uFirstDetail && id <= block.uFirstDetail + 3);
        }
        const bool hide = ((id == 3013 || id == 3014) && !m_bSubAge) || (bText && bConfirmed) ||
                          (bDetail && !bConfirmed) || (hideAlso && hideAlso(id));
        long status = GetCtrlStatusForType(id);
        if (hide) status &= ~1L;
        entry.SetStatusForType(status);
        // The print override belongs to the record shown now: a detail of a
        // record confirmed before must not stay forced out on this one.
        entry.SetNeedOutput(bDetail && bConfirmed ? bNeedOutput : 0);
    }
}
