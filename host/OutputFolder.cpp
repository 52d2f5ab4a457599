#include "host/OutputFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/base/Profile.h"

namespace host {

bool MakeOutputFolder(const std::string& folder)
{
    errno = 0;
    if (folder.empty() || platform::textfile::MakeFolders(folder)) return true;
    std::fprintf(stderr, "morvelance-host: the folder %s could not be made%s%s\n", folder.c_str(), errno ? ": " : "",
                 errno ? std::strerror(errno) : "");
    return false;
}

bool MakeFolderOf(const std::string& file)
{
    return MakeOutputFolder(platform::textfile::FolderOf(file));
}

}  // namespace host
