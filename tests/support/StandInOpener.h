// A stand-in for the desktop's opener (xdg-open), first on PATH while it
// lives: a small script that writes down the arguments it was started with
// and the folder it ran in, then ends as told. PATH is put back when it goes.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace testsupport {

enum class OpenerBehaviour {
    Opens,        // ends with status 0
    FailsToOpen,  // ends with status 4, the opener's "the action failed"
    Absent,       // no opener on PATH at all
};

class StandInOpener {
public:
    explicit StandInOpener(OpenerBehaviour behaviour = OpenerBehaviour::Opens);
    ~StandInOpener();
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    // Whether the opener ran since it was made (or since Forget).
    bool Ran() const;
    // Its arguments, one per entry, and the folder it ran in.
    std::vector<std::string> Arguments() const;
    std::string Folder() const;
    void Forget() const;
    // A folder of its own, for files the test opens.
    std::string Scratch() const;

private:
    TempDir m_dir;
    std::string m_oldPath;
    bool m_hadPath = false;
};

}  // namespace testsupport
