#include "platform/ui/framework/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const AFX_MSGMAP_ENTRY kRootEntries[] = {
    {0, 0, 0, 0, AfxSig_end, static_cast<AFX_PMSG>(nullptr)},
};

const AFX_MSGMAP kRootMap = {nullptr, &kRootEntries[0]};

// Splits an OnCmdMsg code into the message and its notification code. A
// plain code (its high word 0, or all ones for the negative codes such as
// CN_UPDATE_COMMAND_UI) belongs to WM_COMMAND.
void SplitRoutedCode(int nCode, UINT& message, UINT& code)
{
    UINT high = HIWORD(static_cast<UINT>(nCode));
    if (high == 0 || high == 0xFFFF) {
        message = WM_COMMAND;
        code = static_cast<UINT>(nCode);
        return;
    }
    message = high;
    // Command codes are 16-bit unsigned; notify codes are negative numbers.
    if (message == WM_COMMAND + WM_REFLECT_BASE) {
        code = LOWORD(static_cast<UINT>(nCode));
        return;
    }
    code = static_cast<UINT>(static_cast<int>(static_cast<SHORT>(LOWORD(static_cast<UINT>(nCode)))));
}

typedef void (CCmdTarget::*PfnVoid)();
typedef void (CCmdTarget::*PfnUint)(UINT);
typedef BOOL (CCmdTarget::*PfnBoolUint)(UINT);
typedef BOOL (CCmdTarget::*PfnBool)();
typedef void (CCmdTarget::*PfnNotify)(tagNMHDR*, LRESULT*);
typedef BOOL (CCmdTarget::*PfnBoolNotify)(tagNMHDR*, LRESULT*);
typedef void (CCmdTarget::*PfnNotifyRange)(UINT, tagNMHDR*, LRESULT*);
typedef BOOL (CCmdTarget::*PfnBoolNotifyRange)(UINT, tagNMHDR*, LRESULT*);

}  // namespace

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code, UINT id)
{
    if (!entries) return nullptr;
    for (const AFX_MSGMAP_ENTRY* entry = entries; entry->nSig != AfxSig_end; ++entry) {
        if (entry->nMessage != message || entry->nCode != code) continue;
        if (id < entry->nID || id > entry->nLastID) continue;
        return entry;
    }
    return nullptr;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    return &kRootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = 0;
    UINT code = 0;
    SplitRoutedCode(nCode, message, code);
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, message, code, nID);
        if (!entry) continue;
        return DispatchCmdMsg(this, nID, nCode, entry->pfn, pExtra, entry->nSig, pHandlerInfo);
    }
    return FALSE;
}

BOOL CCmdTarget::DispatchCmdMsg(CCmdTarget* target, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                                AFX_CMDHANDLERINFO* pHandlerInfo)
{
    (void)nCode;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = target;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    switch (nSig) {
    case AfxSigCmd_v:
        (target->*AfxMemberCast<PfnVoid>(pfn))();
        return TRUE;
    case AfxSigCmd_RANGE:
        (target->*AfxMemberCast<PfnUint>(pfn))(nID);
        return TRUE;
    case AfxSigCmd_b:
        // An "EX" handler that declines lets the command travel on to the next target.
        return (target->*AfxMemberCast<PfnBoolUint>(pfn))(nID);
    case AfxSigCmd_bv: return (target->*AfxMemberCast<PfnBool>(pfn))();
    default: break;
    }
    // Notify handlers need the header and the result slot OnNotify passes.
    auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
    if (!notify) return FALSE;
    switch (nSig) {
    case AfxSigNotify_v:
        (target->*AfxMemberCast<PfnNotify>(pfn))(notify->pNMHDR, notify->pResult);
        return TRUE;
    case AfxSigNotify_b: return (target->*AfxMemberCast<PfnBoolNotify>(pfn))(notify->pNMHDR, notify->pResult);
    case AfxSigNotify_RANGE:
        (target->*AfxMemberCast<PfnNotifyRange>(pfn))(nID, notify->pNMHDR, notify->pResult);
        return TRUE;
    case AfxSigNotify_EX: return (target->*AfxMemberCast<PfnBoolNotifyRange>(pfn))(nID, notify->pNMHDR, notify->pResult);
    default:
        // A signature the command path cannot call (a window-message entry
        // matched by a routed code, or CCmdUI before it exists): not handled.
        return FALSE;
    }
}
