// A message box recorder for tests: while it lives, every MessageBoxW and
// AfxMessageBox is kept instead of shown, and answered from a queue of
// scripted answers, else with the box's default button. Recorders nest: each
// restores the handler that was installed before it (destroy them in
// reverse order of construction, as scopes do).
#pragma once

#include <deque>
#include <vector>

#include "platform/base/MessageBox.h"

namespace platform::ui {

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Queues the answer of the next box not yet answered.
    void Answer(int result);

    int Count() const { return static_cast<int>(m_boxes.size()); }
    // The most recent box and box `index` (0 the first); an empty request
    // (type 0, no text) when there is no such box.
    const MessageBoxRequest& Last() const;
    const MessageBoxRequest& At(int index) const;
    // Forgets the boxes seen and the answers not used.
    void Clear();

private:
    int Record(const MessageBoxRequest& request);

    std::vector<MessageBoxRequest> m_boxes;
    std::deque<int> m_answers;     // scripted answers, used first to last
    MessageBoxHandler m_previous;  // restored on destruction; empty is the default handler
};

}  // namespace platform::ui
