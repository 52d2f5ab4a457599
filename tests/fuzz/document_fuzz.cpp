// libFuzzer target for the examination documents: each input is written as a
// record file and opened through the document a host would choose (a device
// record by its system code, anything else as an MFER file), then read as the
// views read it: every lead, average beat and stored block, each as a size
// query followed by a copy into exactly that many samples. A device record
// gets its checksum made right first, so that mutations of its items reach
// the documents instead of stopping at the container.
//
// Seeds: `morvelance-mkrecord seeds`, `examinations` and `mfer-seeds` (normal build).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/base/Registry.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/zarn/ZarnContainer.h"
#include "tests/support/ExaminationRead.h"

namespace {

std::string g_folder;

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

// The registry names the work directory beside the target: the readers and the layout stylesheet.
void UseWorkDir(const std::string& folder)
{
    const std::string registry = folder + "/registry.reg";
    std::ofstream out(registry, std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_CLASSES_ROOT\\CLSID\\{6D6F7276-656C-616E-6365-574F524B4449}\\InprocServer32]\n"
        << "@=\"" << MORVELANCE_DOCUMENT_FUZZ_WORKDIR << "/Tavrion.ocx\"\n";
    out.close();
    setenv("MORVELANCE_REGISTRY", registry.c_str(), 1);
    platform::ReloadRegistry();
}

// What an open leaves in the folder (the record, record XML files named
// after it) goes before the next input.
void EmptyFolder()
{
    DIR* dir = opendir(g_folder.c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "registry.reg") names.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) unlink((g_folder + "/" + name).c_str());
}

std::string WriteInput(const char* name, const uint8_t* data, size_t size)
{
    const std::string path = g_folder + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/document-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    g_folder = made;
    std::atexit([] {
        EmptyFolder();
        unlink((g_folder + "/registry.reg").c_str());
        rmdir(g_folder.c_str());
    });
    UseWorkDir(g_folder);
    SetMessageBoxHandler([](const MessageBoxRequest& request) { return DefaultMessageBoxAnswer(request.type); });
    platform::ui::StartModules();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 22)) return 0;
    testsupport::ExaminationRead read;
    if (size >= zarn::kHeaderSize && std::memcmp(data, zarn::kMagic, 4) == 0) {
        std::vector<uint8_t> fixed(data, data + size);
        zarn::UpdateChecksum(fixed.data(), fixed.size());
        read = testsupport::ReadDeviceExamination(WriteInput("record.ecg", fixed.data(), fixed.size()), std::string());
    } else {
        read = testsupport::ReadMferExamination(WriteInput("record.mwf", data, size), std::string());
    }
    // What a size query promises, the copy delivers, in whole samples.
    Check(read.oddSizes == 0);
    Check(read.shortCopies == 0);
    EmptyFolder();
    return 0;
}
