// CCmdTarget and the framework's message maps.
//
// A message map is a static table per class, linked to the table of its base
// class. Every entry has the same layout:
//
//   nMessage  the window message: WM_COMMAND for commands and control
//             notifications, WM_NOTIFY for notify codes, or any other WM_*
//             for window messages; 0 only in the terminating entry
//   nCode     the notification code of a WM_COMMAND / WM_NOTIFY entry
//             (CN_COMMAND = 0 for menu commands and BN_CLICKED); 0 otherwise
//   nID       the first command or control id (0 for window messages)
//   nLastID   the last id of a range; equal to nID for a single id
//   nSig      an AfxSig value: the handler's C++ type and how its arguments
//             are unpacked; AfxSig_end terminates the table
//   pfn       the handler, stored as a pointer to a member of CCmdTarget and
//             cast back to its true type (given by nSig) when called
//
// Lookup walks the most derived map first, then each base map, so a derived
// class overrides its base's handler for the same message and id. The
// window layer adds its ON_WM_* macros and window-message signatures to
// AfxSig on this same layout.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

#define afx_msg

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures. Command signatures first; the window layer appends the
// window-message signatures (e.g. "void (UINT, int, int)" for WM_SIZE) after
// AfxSigCmd_last, never renumbering the ones here.
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,     // terminates a table
    AfxSigCmd_v,        // void ()              ON_COMMAND, ON_CONTROL, ON_BN_CLICKED…
    AfxSigCmd_b,        // BOOL (UINT id)       ON_COMMAND_EX, ON_COMMAND_EX_RANGE: FALSE routes on
    AfxSigCmd_RANGE,    // void (UINT id)       ON_COMMAND_RANGE, ON_CONTROL_RANGE
    AfxSigCmd_UI,       // void (CCmdUI*)       reserved for ON_UPDATE_COMMAND_UI
    AfxSigCmd_bv,       // BOOL ()              ON_CONTROL_REFLECT_EX: FALSE lets the parent see it too
    AfxSigNotify_v,     // void (NMHDR*, LRESULT*)          ON_NOTIFY, ON_NOTIFY_REFLECT
    AfxSigNotify_b,     // BOOL (NMHDR*, LRESULT*)          ON_NOTIFY_REFLECT_EX
    AfxSigNotify_RANGE, // void (UINT, NMHDR*, LRESULT*)    ON_NOTIFY_RANGE
    AfxSigNotify_EX,    // BOOL (UINT, NMHDR*, LRESULT*)    ON_NOTIFY_EX: FALSE routes on
    AfxSigCmd_last,
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // null for the root map (CCmdTarget's)
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct tagNMHDR;

// What OnNotify hands the routing as pExtra for WM_NOTIFY handlers.
struct AFX_NOTIFY {
    LRESULT* pResult;
    tagNMHDR* pNMHDR;
};

// Filled in instead of calling the handler when a caller only asks whether a
// target handles a command (the framework's "probe" mode of OnCmdMsg).
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The first entry of `entries` that handles (message, code, id); null when none.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code, UINT id);

// A code for OnCmdMsg that names another message than WM_COMMAND, as the
// window layer routes WM_NOTIFY codes: the message rides in the high word.
#define MORVELANCE_ROUTED_CODE(message, code) ((int)MAKELONG((code), (message)))

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes command `nID` with notification code `nCode` (CN_COMMAND for a
    // plain command) through this object's message maps, most derived first.
    // TRUE when a handler took it. With `pHandlerInfo` nothing is called: the
    // handler found is reported instead.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls a command handler found in a map according to its signature.
    static BOOL DispatchCmdMsg(CCmdTarget* target, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                               AFX_CMDHANDLERINFO* pHandlerInfo);
};

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const AFX_MSGMAP* GetThisMessageMap();   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                \
    {                                                                              \
        [[maybe_unused]] typedef theClass ThisClass;                               \
        typedef baseClass TheBaseClass;                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, 0, AfxSig_end, static_cast<AFX_PMSG>(nullptr)}                           \
    }                                                                                  \
    ;                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                \
    }

// Handlers are named without their class, as in ON_COMMAND(ID_X, OnX); the
// casts check the handler's type against the signature of the entry.
template <class Fn, class Class> using AfxMemberFn = Fn Class::*;

// Converts between member function pointers of different signatures. The
// table stores every handler as AFX_PMSG and the dispatcher converts it back
// to exactly the type it came from, the round trip the language guarantees;
// the compiler's warning about the cast itself is therefore silenced here.
template <class To, class From> inline To AfxMemberCast(From from)
{
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
#endif
    return reinterpret_cast<To>(from);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
}

#define MORVELANCE_CMD_HANDLER(type, memberFxn)                        \
    AfxMemberCast<AFX_PMSG>(static_cast<AfxMemberFn<type, CCmdTarget>>( \
        static_cast<AfxMemberFn<type, ThisClass>>(&ThisClass::memberFxn)))

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v, MORVELANCE_CMD_HANDLER(void(), memberFxn)},

#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, MORVELANCE_CMD_HANDLER(void(UINT), memberFxn)},

#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_b, MORVELANCE_CMD_HANDLER(BOOL(UINT), memberFxn)},

#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_b, MORVELANCE_CMD_HANDLER(BOOL(UINT), memberFxn)},

// Notification codes travel in the high word of WM_COMMAND's wParam: an
// entry keeps the 16 bits that arrive (CBN_ERRSPACE's -1 is 0xFFFF).
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, MORVELANCE_CMD_HANDLER(void(), memberFxn)},

#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                          \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, \
     MORVELANCE_CMD_HANDLER(void(UINT), memberFxn)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
