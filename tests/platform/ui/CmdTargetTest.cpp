// Command routing through message maps, and run-time classes of the
// framework's command targets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/framework/CmdTarget.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/Document.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/framework/Wnd.h"

namespace {

enum : UINT {
    ID_SHARED = 32771,
    ID_BASE_ONLY = 32772,
    ID_DECLINED = 32773,
    ID_ACCEPTED = 32774,
    ID_RANGE_FIRST = 32800,
    ID_RANGE_LAST = 32809,
    ID_BUTTON = 1001,
    ID_UNHANDLED = 40000,
};

}  // namespace

class CRoutingBase : public CCmdTarget {
    DECLARE_DYNCREATE(CRoutingBase)
public:
    std::vector<std::string> m_log;

protected:
    afx_msg void OnShared() { m_log.push_back("base shared"); }
    afx_msg void OnBaseOnly() { m_log.push_back("base only"); }
    afx_msg void OnRange(UINT id) { m_log.push_back("range " + std::to_string(id)); }
    afx_msg BOOL OnDeclinedInBase(UINT) { m_log.push_back("base declined"); return TRUE; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CRoutingBase, CCmdTarget)

BEGIN_MESSAGE_MAP(CRoutingBase, CCmdTarget)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_BASE_ONLY, OnBaseOnly)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_COMMAND_EX(ID_DECLINED, OnDeclinedInBase)
END_MESSAGE_MAP()

class CRoutingDerived : public CRoutingBase {
    DECLARE_DYNCREATE(CRoutingDerived)
protected:
    afx_msg void OnSharedHere() { m_log.push_back("derived shared"); }
    afx_msg BOOL OnDeclined(UINT id) { m_log.push_back("declined " + std::to_string(id)); return FALSE; }
    afx_msg BOOL OnAccepted(UINT id) { m_log.push_back("accepted " + std::to_string(id)); return TRUE; }
    afx_msg void OnButton() { m_log.push_back("button"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CRoutingDerived, CRoutingBase)

BEGIN_MESSAGE_MAP(CRoutingDerived, CRoutingBase)
    ON_COMMAND(ID_SHARED, OnSharedHere)
    ON_COMMAND_EX(ID_DECLINED, OnDeclined)
    ON_COMMAND_EX(ID_ACCEPTED, OnAccepted)
    ON_BN_DOUBLECLICKED(ID_BUTTON, OnButton)
END_MESSAGE_MAP()

TEST(CmdTargetRuntimeClass, CreatesByNameAndKnowsItsAncestry)
{
    CObject* object = CRuntimeClass::CreateObject("CRoutingDerived");
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CRoutingDerived)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CRoutingBase)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_STREQ("CRoutingDerived", object->GetRuntimeClass()->m_lpszClassName);
    delete object;

    CObject* base = CRuntimeClass::CreateObject("CRoutingBase");
    ASSERT_NE(nullptr, base);
    EXPECT_FALSE(base->IsKindOf(RUNTIME_CLASS(CRoutingDerived)));
    delete base;
}

TEST(CmdTargetRuntimeClass, FrameworkClassesChainToCommandTarget)
{
    // CWnd is created by name (the host creates views and frames that way);
    // the abstract framework classes are not.
    CObject* wnd = CRuntimeClass::CreateObject("CWnd");
    ASSERT_NE(nullptr, wnd);
    EXPECT_TRUE(wnd->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    delete wnd;
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CDialog"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNoSuchClass"));
    EXPECT_TRUE(RUNTIME_CLASS(CDialog)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(RUNTIME_CLASS(CDocument)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(RUNTIME_CLASS(CWinApp)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(RUNTIME_CLASS(CDocument)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
}

TEST(CmdTargetRouting, DerivedMapIsSearchedBeforeBase)
{
    CRoutingDerived target;
    EXPECT_TRUE(target.OnCmdMsg(ID_SHARED, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_BASE_ONLY, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"derived shared", "base only"}), target.m_log);

    CRoutingBase base;
    EXPECT_TRUE(base.OnCmdMsg(ID_SHARED, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"base shared"}), base.m_log);
}

TEST(CmdTargetRouting, RangeHandlerGetsTheIdAndStopsAtItsEnds)
{
    CRoutingDerived target;
    EXPECT_FALSE(target.OnCmdMsg(ID_RANGE_FIRST - 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_RANGE_FIRST, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_RANGE_LAST, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(ID_RANGE_LAST + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"range 32800", "range 32809"}), target.m_log);
}

TEST(CmdTargetRouting, ExHandlerDecidesWhetherTheCommandWasTaken)
{
    CRoutingDerived target;
    // The derived handler declines; the base's handler for the same id is
    // not tried: the command travels on to the next target instead.
    EXPECT_FALSE(target.OnCmdMsg(ID_DECLINED, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_ACCEPTED, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"declined 32773", "accepted 32774"}), target.m_log);
}

TEST(CmdTargetRouting, NotificationCodeMustMatch)
{
    CRoutingDerived target;
    EXPECT_FALSE(target.OnCmdMsg(ID_BUTTON, BN_CLICKED, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_BUTTON, BN_DOUBLECLICKED, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(ID_SHARED, EN_CHANGE, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(ID_SHARED, static_cast<int>(CN_UPDATE_COMMAND_UI), nullptr, nullptr));
    // A code routed for another message never reaches WM_COMMAND entries.
    EXPECT_FALSE(target.OnCmdMsg(ID_SHARED, MORVELANCE_ROUTED_CODE(WM_NOTIFY, 0), nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"button"}), target.m_log);
}

TEST(CmdTargetRouting, UnknownCommandIsNotHandled)
{
    CRoutingDerived target;
    EXPECT_FALSE(target.OnCmdMsg(ID_UNHANDLED, CN_COMMAND, nullptr, nullptr));
    CCmdTarget plain;
    EXPECT_FALSE(plain.OnCmdMsg(ID_SHARED, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.m_log.empty());
}

TEST(CmdTargetRouting, ProbeReportsTheHandlerWithoutCallingIt)
{
    CRoutingDerived target;
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(target.OnCmdMsg(ID_BASE_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&target, info.pTarget);
    EXPECT_NE(nullptr, info.pmf);
    EXPECT_TRUE(target.m_log.empty());

    AFX_CMDHANDLERINFO none{nullptr, nullptr};
    EXPECT_FALSE(target.OnCmdMsg(ID_UNHANDLED, CN_COMMAND, nullptr, &none));
    EXPECT_EQ(nullptr, none.pTarget);
}

TEST(CmdTargetRouting, FindMessageEntryMatchesMessageCodeAndIdRange)
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        {WM_COMMAND, CN_COMMAND, 10, 20, AfxSigCmd_RANGE, nullptr},
        {WM_COMMAND, EN_CHANGE, 15, 15, AfxSigCmd_v, nullptr},
        {0, 0, 0, 0, AfxSig_end, nullptr},
    };
    EXPECT_EQ(&entries[0], AfxFindMessageEntry(entries, WM_COMMAND, CN_COMMAND, 15));
    EXPECT_EQ(&entries[1], AfxFindMessageEntry(entries, WM_COMMAND, EN_CHANGE, 15));
    EXPECT_EQ(nullptr, AfxFindMessageEntry(entries, WM_COMMAND, EN_CHANGE, 16));
    EXPECT_EQ(nullptr, AfxFindMessageEntry(entries, WM_NOTIFY, CN_COMMAND, 15));
    EXPECT_EQ(nullptr, AfxFindMessageEntry(nullptr, WM_COMMAND, CN_COMMAND, 15));
}
