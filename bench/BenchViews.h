// Views the benchmarks measure, made as the panes make them: the view from
// its runtime class in a frame under a window of the benchmark's own.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"
#include "tools/ExerRecord.h"

namespace benchviews {

// Whether the view keeps the sunken edge views are made with; the panes
// take it off.
enum class ViewEdge { Kept, Removed };

// Makes `frame` a child of `parent` filling width x height and a View on
// `doc` in it, laid out, without its initial update; null when the frame or
// the view could not be made.
template <class View>
View* CreateViewInFrame(CFrameWnd& frame, CWnd& parent, CDocument& doc, int width, int height,
                        ViewEdge edge = ViewEdge::Kept)
{
    if (!frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent)) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(View);
    context.m_pCurrentDoc = &doc;
    auto* view = DYNAMIC_DOWNCAST(View, frame.CreateView(&context, AFX_IDW_PANE_FIRST));
    if (!view) return nullptr;
    if (edge == ViewEdge::Removed) view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame.RecalcLayout();
    return view;
}

// An exercise record written by the record maker into a folder of the
// benchmark's own (/tmp/morvelance-NAME-bench-PID), removed with it.
struct ExerciseRecordFolder {
    explicit ExerciseRecordFolder(const std::string& name,
                                  const morvelance::ExerciseRecordOptions& options = morvelance::ExerciseRecordOptions())
        : path("/tmp/morvelance-" + name + "-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
        record = path + "/exercise.ecg";
        xml = morvelance::WriteExerciseRecordFiles(record, options);
    }
    ~ExerciseRecordFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
    std::string record;
    std::string xml;
};

// A test of an hour: seven stages and 39 minutes of recovery.
inline morvelance::ExerciseRecordOptions HourLongExercise()
{
    morvelance::ExerciseRecordOptions o;
    o.stages = 7;
    o.recoverySeconds = 39 * 60;
    return o;
}

}  // namespace benchviews
