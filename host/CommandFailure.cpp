#include "host/CommandFailure.h"

#include <cstdarg>
#include <cstdio>

#include "platform/base/CodePage.h"
#include "platform/base/MessageBox.h"

namespace host {

namespace {

std::string g_record;
std::string g_libraryMessage;

}  // namespace

void SetCurrentRecord(const std::string& path)
{
    g_record = path;
}

const std::string& CurrentRecord()
{
    return g_record;
}

void ReportFailure(const char* format, ...)
{
    char cause[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(cause, sizeof cause, format, args);
    va_end(args);
    if (g_record.empty())
        std::fprintf(stderr, "morvelance-host: %s\n", cause);
    else
        std::fprintf(stderr, "morvelance-host: %s: %s\n", g_record.c_str(), cause);
}

void EchoLibraryMessages()
{
    SetMessageBoxHandler([](const MessageBoxRequest& request) {
        g_libraryMessage = platform::ToUtf8(request.text.str());
        const std::string line = platform::ToUtf8(request.caption.str()) + ": " + g_libraryMessage + "\n";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        return DefaultMessageBoxAnswer(request.type);
    });
}

std::string TakeLibraryMessage()
{
    std::string text;
    text.swap(g_libraryMessage);
    return text;
}

}  // namespace host
