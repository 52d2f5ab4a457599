#include "tests/support/ModalScript.h"

#include <gtest/gtest.h>

#include "platform/ui/windowing/Desktop.h"

namespace testsupport {

ModalScript::ModalScript() : m_scope([this](CDialog& dialog) { Run(dialog); })
{
}

ModalScript::~ModalScript() = default;

ModalScript& ModalScript::On(UINT templateId, Step step)
{
    m_steps[templateId].push_back(std::move(step));
    return *this;
}

size_t ModalScript::Pending() const
{
    size_t count = 0;
    for (const auto& entry : m_steps) count += entry.second.size();
    return count;
}

void ModalScript::Run(CDialog& dialog)
{
    const UINT id = dialog.GetTemplateId();
    m_seen.push_back(id);
    auto found = m_steps.find(id);
    if (found == m_steps.end() || found->second.empty()) {
        m_unscripted.push_back(id);
        return;
    }
    Step step = std::move(found->second.front());
    found->second.pop_front();
    step(dialog);
}

void ClickControl(CWnd& dialog, int id)
{
    CWnd* control = dialog.GetDlgItem(id);
    if (!control) {
        ADD_FAILURE() << "no control " << id;
        return;
    }
    CRect rect;
    control->GetClientRect(&rect);
    platform::ui::Desktop::Click(control->m_hWnd, rect.Width() / 2, rect.Height() / 2);
    platform::ui::Desktop::PumpMessages();
}

void TypeInto(CWnd& dialog, int id, LPCWSTR text)
{
    CWnd* control = dialog.GetDlgItem(id);
    if (!control) {
        ADD_FAILURE() << "no control " << id;
        return;
    }
    control->SetFocus();
    platform::ui::Desktop::TypeText(text);
    platform::ui::Desktop::PumpMessages();
}

int ListEntryOf(CWnd& dialog, int id, LPCWSTR text)
{
    return static_cast<int>(
        dialog.SendDlgItemMessage(id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
}

void ChooseListEntry(CWnd& dialog, int id, int index)
{
    CWnd* control = dialog.GetDlgItem(id);
    if (!control) {
        ADD_FAILURE() << "no control " << id;
        return;
    }
    control->SetFocus();
    platform::ui::Desktop::KeyPress(VK_HOME);
    for (int i = 0; i < index; ++i) platform::ui::Desktop::KeyPress(VK_DOWN);
    platform::ui::Desktop::PumpMessages();
}

CString ControlText(const CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return text;
}

}  // namespace testsupport
