// A host built against the installed library: starts it, reads each record
// file as the file list does and prints its lead count.
#include <cstdio>

#include "core/FileItemInfo.h"
#include "core/TavrionDoc.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/Modules.h"

int main(int argc, char** argv)
{
    if (!platform::ui::StartModules()) return 1;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        CTavrionDoc doc;
        _FILEITEM_INFO info;
        const CString path(platform::FromUtf8(argv[i]).c_str());
        const int code = doc.ReadFile(path, L"", L"", &info);
        if (code == 1 || info.nLeadCount <= 0) ++failures;
        std::printf("%s: %d leads\n", argv[i], info.nLeadCount);
    }
    platform::ui::StopModules();
    return failures ? 1 : 0;
}
