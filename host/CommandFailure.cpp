#include "host/CommandFailure.h"

#include <cstdarg>
#include <cstdio>

#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "platform/base/CodePage.h"
#include "platform/base/MessageBox.h"
#include "platform/mfer/MFERParser.h"

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

bool OptionsTakenOrSays(const std::string& what, std::initializer_list<GivenOption> options)
{
    for (const GivenOption& option : options) {
        if (!option.given || option.taken) continue;
        ReportFailure("%s takes no %s", what.c_str(), option.option);
        return false;
    }
    return true;
}

std::string FileListFailureText(FileListFailure failure)
{
    switch (failure) {
    case FileListFailure::None: return std::string();
    case FileListFailure::CannotOpen: return "the file cannot be opened or read";
    case FileListFailure::NotRecordFile: return "not a record this library can read";
    case FileListFailure::NoMemory: return "not enough memory for the record";
    case FileListFailure::TooLarge: return "the record is too large for the reader on any machine";
    case FileListFailure::NoSystemCode: return "no examination kind for it";
    case FileListFailure::NoHl7Header: return "its HL7 header cannot be found";
    case FileListFailure::NoPatientId: return "its HL7 header names no patient id";
    case FileListFailure::NoRoot: return "the MFER file has no root record";
    }
    return "not a record this library can read";
}

bool FileListCouldNotRead(FileListFailure failure)
{
    return failure != FileListFailure::None && failure != FileListFailure::NoSystemCode &&
           failure != FileListFailure::NoPatientId;
}

void ReportFileListFailure(const std::string& path, FileListFailure failure)
{
    if (FileListCouldNotRead(failure))
        std::fprintf(stderr, "morvelance-host: %s: not read: %s\n", path.c_str(), FileListFailureText(failure).c_str());
    else
        std::fprintf(stderr, "morvelance-host: %s: the file list refuses the record (%s)\n", path.c_str(),
                     FileListFailureText(failure == FileListFailure::None ? FileListFailure::NoSystemCode : failure)
                         .c_str());
}

void ReportMferRefusal(const std::string& path, MferStatus status)
{
    // A file refused for its size is no file of another format.
    const bool bySize = status == MferStatus::NoMemory || status == MferStatus::TooLarge;
    std::fprintf(stderr, "morvelance-host: %s: %s: %ls\n", path.c_str(),
                 bySize ? "not read" : "not an MFER file this library can read", CMFERParser::StatusText(status));
}

std::string TakeSaveFailure()
{
    // The user's text: the failure, the file and the cause, one a line.
    const std::string told = platform::ToUtf8(CECGXMLParser::GetSaveFailureText().GetString());
    const bool failed = !XML_PARSER::GetLastSaveFailure().strPath.IsEmpty();
    CECGXMLParser::ForgetSaveFailure();
    if (!failed) return std::string();
    const size_t file = told.find("\r\n");
    if (file == std::string::npos) return told;
    std::string text = told.substr(file + 2);
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.replace(at, 2, ": ");
    return text;
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
