// The host's "view" and "print" commands for the exercise views: a record's
// exercise view at a chosen time and layout painted into a PNG, or printed
// by the view itself through the PDF printer.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CTavrionDoc;

namespace host {

// How the exercise views are shown: the frame, the layouts and the record's
// clock. "--view all" takes them along with the other views' options.
struct ExerciseOptions {
    std::vector<std::string> files;
    std::string viewClass;
    std::string png;
    std::string pdf;
    std::string outDir;
    int width = 1920;
    int height = 1080;
    int mode = 0;    // average layouts: 0 all three ("all") or the first
    int time = -1;   // seconds; -1 the record's own current time
    int style = 0;   // trend: 0 every style ("all") or heart rate
    int lead = 10;   // trend: the display lead of the lead styles (V5)
    int parent = 3;  // trend: the kind of pane (2 draws the current-time line)
    double rotate = -0.3;   // 3D map: radians, reached in the buttons' 0.1 steps
    double tilt = 0.7;
    bool relative = false;  // 3D map: ST relative to rest
    std::set<std::string> given;   // the options the command line gave, as "--lead"
};

// True when --view names an exercise view.
bool IsExerciseViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunExerciseViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);
// An option only the exercise views take (--time, --parent, --rotate,
// --tilt with its value; --relative without one) into `options`: 1 taken,
// 0 not one of them, -1 refused (said on stderr).
int TakeExerciseOnlyOption(const std::string& arg, const char* value, ExerciseOptions& options);
bool IsExerciseOnlyFlag(const std::string& arg);
// The exercise record of `doc` shown (command "view") or printed ("print")
// with `options`, its files numbered as the `index`-th record's; false, said,
// when the record is no exercise record or a view fails.
bool ShowExerciseRecord(const std::string& command, CTavrionDoc& doc, const ExerciseOptions& options, size_t index);

}  // namespace host
