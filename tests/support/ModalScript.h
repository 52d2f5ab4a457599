// A modal driver scripted by template id: each dialog run (DoModal) takes
// the next step queued for its template, so nested dialogs (a prompt
// inside a sheet, an item prompt inside a phrase editor) are scripted in
// one place, in the order a user meets them. A run with no step left is
// recorded and left alone (it ends with IDCANCEL), so a test can assert
// that nothing unexpected came up.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"

namespace testsupport {

class ModalScript {
public:
    using Step = std::function<void(CDialog&)>;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Queues a step for the next run of `templateId` that has none yet.
    ModalScript& On(UINT templateId, Step step);

    // The templates run, in order, scripted or not.
    const std::vector<UINT>& Seen() const { return m_seen; }
    // Runs that found no step waiting.
    const std::vector<UINT>& Unscripted() const { return m_unscripted; }
    // Steps still waiting.
    size_t Pending() const;

private:
    void Run(CDialog& dialog);

    std::map<UINT, std::deque<Step>> m_steps;
    std::vector<UINT> m_seen;
    std::vector<UINT> m_unscripted;
    platform::ui::ModalDriverScope m_scope;
};

// What a person does inside a dialog, through the desktop's input.
// Clicks the middle of control `id`.
void ClickControl(CWnd& dialog, int id);
// Gives control `id` the focus and types `text` into it.
void TypeInto(CWnd& dialog, int id, LPCWSTR text);
// Chooses entry `index` of a drop-down list by keys: Home, then Down.
void ChooseListEntry(CWnd& dialog, int id, int index);
// The index of the entry that reads exactly `text` in drop-down list `id`;
// CB_ERR when there is none.
int ListEntryOf(CWnd& dialog, int id, LPCWSTR text);
// The text of control `id`.
CString ControlText(const CWnd& dialog, int id);

}  // namespace testsupport
