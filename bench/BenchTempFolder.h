// A folder of one benchmark's own under the temporary folder ($TMPDIR, else
// /tmp), removed with everything in it when the object goes, so that a run
// leaves nothing behind however many rounds it makes.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace benchtemp {

class TempFolder {
public:
    // "<stem>-XXXXXX"; Path() is "" when no folder could be made.
    explicit TempFolder(const std::string& stem)
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + stem + "-XXXXXX";
        if (mkdtemp(&pattern[0])) m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace benchtemp
