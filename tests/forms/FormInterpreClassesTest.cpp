// The interpretation forms as hosts and panes see them: each is its own
// runtime class straight under the interpretation base, none answers as a
// kind of another, each routes its own messages, and what tells the forms
// apart (judgement, record reload, print) stays with the form it belongs to.
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "core/UserMessages.h"
#include "forms/FormInterpre.h"
#include "forms/FormInterpreAme.h"
#include "forms/FormInterpreExer.h"
#include "forms/FormInterpreMsfr.h"
#include "forms/FormInterpreRhyRR.h"
#include "printdevice/ECGDC.h"

namespace {

// The message maps are the framework's own business; these read them.
struct MapReader : CCmdTarget {
    static const AFX_MSGMAP* Of(const CCmdTarget& target) { return (target.*(&MapReader::GetMessageMap))(); }
};
struct InterpreBaseMap : CFormInterpreBase {
    static const AFX_MSGMAP* Get() { return GetThisMessageMap(); }
    static bool IsBaseOf(const AFX_MSGMAP* map) { return map->pfnGetBaseMap == &GetThisMessageMap; }
};

// True when the form's own map (not a base's) has an entry for the message.
bool RoutesItself(const CCmdTarget& form, UINT message)
{
    for (const AFX_MSGMAP_ENTRY* entry = MapReader::Of(form)->lpEntries; entry->nSig != AfxSig_end; ++entry)
        if (entry->nMessage == message) return true;
    return false;
}

CRuntimeClass* const kForms[] = {RUNTIME_CLASS(CFormInterpre), RUNTIME_CLASS(CFormInterpreAme),
                                 RUNTIME_CLASS(CFormInterpreExer), RUNTIME_CLASS(CFormInterpreMsfr),
                                 RUNTIME_CLASS(CFormInterpreRhyRR)};

std::unique_ptr<CObject> Make(CRuntimeClass* form)
{
    return std::unique_ptr<CObject>(form->CreateObject());
}

template <class Form, class = void> struct PrintsIntoAReportRectangle : std::false_type {};
template <class Form>
struct PrintsIntoAReportRectangle<Form, std::void_t<decltype(std::declval<Form&>().Print(
                                            std::declval<CECGDC*>(), std::declval<CRect>()))>> : std::true_type {};

}  // namespace

TEST(InterpretationFormClasses, EveryFormIsMadeByNameStraightUnderTheInterpretationBase)
{
    for (CRuntimeClass* form : kForms) {
        EXPECT_EQ(form->GetBaseClass(), RUNTIME_CLASS(CFormInterpreBase)) << form->m_lpszClassName;
        EXPECT_EQ(CRuntimeClass::FromName(form->m_lpszClassName), form) << form->m_lpszClassName;
        std::unique_ptr<CObject> made = Make(form);
        ASSERT_NE(made, nullptr) << form->m_lpszClassName;
        EXPECT_EQ(made->GetRuntimeClass(), form);
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CFormInterpreBase))) << form->m_lpszClassName;
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CFormEx))) << form->m_lpszClassName;
    }
    EXPECT_EQ(RUNTIME_CLASS(CFormInterpreBase)->GetBaseClass(), RUNTIME_CLASS(CFormEx));
}

TEST(InterpretationFormClasses, NoFormAnswersAsAKindOfAnother)
{
    for (CRuntimeClass* form : kForms) {
        std::unique_ptr<CObject> made = Make(form);
        for (CRuntimeClass* other : kForms) {
            if (other == form) continue;
            EXPECT_FALSE(made->IsKindOf(other)) << form->m_lpszClassName << " / " << other->m_lpszClassName;
        }
    }
    // A host that prints the portrait rest form by downcasting does not reach the US-style one,
    // nor does a pane that looks for the master-step form find the comment form.
    std::unique_ptr<CObject> us = Make(RUNTIME_CLASS(CFormInterpreAme));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CFormInterpre, us.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CFormInterpre*>(us.get()), nullptr);
    std::unique_ptr<CObject> comment = Make(RUNTIME_CLASS(CFormInterpreRhyRR));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CFormInterpreMsfr, comment.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CFormInterpreMsfr*>(comment.get()), nullptr);
}

TEST(InterpretationFormClasses, EachFormRoutesItsOwnMessagesAndThenTheBasesOnes)
{
    for (CRuntimeClass* form : kForms) {
        std::unique_ptr<CObject> made = Make(form);
        const auto& target = *static_cast<CCmdTarget*>(made.get());
        EXPECT_TRUE(InterpreBaseMap::IsBaseOf(MapReader::Of(target))) << form->m_lpszClassName;
        EXPECT_NE(MapReader::Of(target), InterpreBaseMap::Get()) << form->m_lpszClassName;
        for (UINT message : {UINT(WM_ERASEBKGND), UINT(WM_LBUTTONDBLCLK), UINT(WM_SIZE), UINT(WM_PAINT)})
            EXPECT_TRUE(RoutesItself(target, message)) << form->m_lpszClassName << " " << message;
    }
}

TEST(InterpretationFormClasses, TheMessagesThatTellTheFormsApartStayWithTheirOwnForm)
{
    const std::unique_ptr<CObject> rest = Make(RUNTIME_CLASS(CFormInterpre));
    const std::unique_ptr<CObject> us = Make(RUNTIME_CLASS(CFormInterpreAme));
    const std::unique_ptr<CObject> exer = Make(RUNTIME_CLASS(CFormInterpreExer));
    const std::unique_ptr<CObject> step = Make(RUNTIME_CLASS(CFormInterpreMsfr));
    const std::unique_ptr<CObject> comment = Make(RUNTIME_CLASS(CFormInterpreRhyRR));
    auto routes = [](const std::unique_ptr<CObject>& form, UINT message) {
        return RoutesItself(*static_cast<CCmdTarget*>(form.get()), message);
    };
    // The judgement combo box: the comment form has none, so the message is not routed there.
    EXPECT_TRUE(routes(rest, WM_BOUND_COMBO_CHANGED));
    EXPECT_TRUE(routes(us, WM_BOUND_COMBO_CHANGED));
    EXPECT_TRUE(routes(exer, WM_BOUND_COMBO_CHANGED));
    EXPECT_TRUE(routes(step, WM_BOUND_COMBO_CHANGED));
    EXPECT_FALSE(routes(comment, WM_BOUND_COMBO_CHANGED));
    // Only the two rest forms reload on the host's modified-record notice.
    EXPECT_TRUE(routes(rest, WM_RECORD_MODIFIED));
    EXPECT_TRUE(routes(us, WM_RECORD_MODIFIED));
    EXPECT_FALSE(routes(exer, WM_RECORD_MODIFIED));
    EXPECT_FALSE(routes(step, WM_RECORD_MODIFIED));
    EXPECT_FALSE(routes(comment, WM_RECORD_MODIFIED));
    // The exercise form neither measures its comment on that notice nor opens the additions page.
    for (UINT message : {WM_COMMENT_EDIT_LEFT, WM_LINK_OPEN_ADDITIONS}) {
        EXPECT_TRUE(routes(rest, message));
        EXPECT_TRUE(routes(us, message));
        EXPECT_FALSE(routes(exer, message));
        EXPECT_TRUE(routes(step, message));
        EXPECT_TRUE(routes(comment, message));
    }
}

TEST(InterpretationFormClasses, OnlyThePortraitRestFormPrintsIntoAReportRectangle)
{
    static_assert(PrintsIntoAReportRectangle<CFormInterpre>::value);
    static_assert(!PrintsIntoAReportRectangle<CFormInterpreAme>::value);
    static_assert(!PrintsIntoAReportRectangle<CFormInterpreMsfr>::value);
    static_assert(!PrintsIntoAReportRectangle<CFormInterpreRhyRR>::value);
    static_assert(!PrintsIntoAReportRectangle<CFormInterpreExer>::value);
    // The US-style form's own print leaves its fields to the landscape report.
    CFormInterpreAme us;
    EXPECT_EQ(us.Print(static_cast<CDC*>(nullptr), nullptr, 0), 1);
}
