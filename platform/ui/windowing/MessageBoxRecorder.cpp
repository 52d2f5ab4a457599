#include "platform/ui/windowing/MessageBoxRecorder.h"

namespace platform::ui {

namespace {

const MessageBoxRequest& NoBox()
{
    static const MessageBoxRequest none{nullptr, CString(), CString(), 0, FALSE};
    return none;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& request) { return Record(request); });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(std::move(m_previous));
}

void MessageBoxRecorder::Answer(int result)
{
    m_answers.push_back(result);
}

const MessageBoxRequest& MessageBoxRecorder::Last() const
{
    return m_boxes.empty() ? NoBox() : m_boxes.back();
}

const MessageBoxRequest& MessageBoxRecorder::At(int index) const
{
    if (index < 0 || index >= Count()) return NoBox();
    return m_boxes[index];
}

void MessageBoxRecorder::Clear()
{
    m_boxes.clear();
    m_answers.clear();
}

int MessageBoxRecorder::Record(const MessageBoxRequest& request)
{
    m_boxes.push_back(request);
    if (m_answers.empty()) return DefaultMessageBoxAnswer(request.type);
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

}  // namespace platform::ui
