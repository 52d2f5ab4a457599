// morvelance-host: the example host. It does what a host application does
// with the library: starts it, creates a document by its class name, adds an
// item for a record file and opens the record through the document.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnnoManager.h"
#include "core/ConstTables.h"
#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "platform/mfer/MFERParser.h"
#include "core/ECGData.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "host/DialogCommand.h"
#include "host/DocumentCommand.h"
#include "host/PaneCommand.h"
#include "host/ShowCommand.h"
#include "host/LeadNameSource.h"
#include "host/RecordOpening.h"
#include "host/ReportCommand.h"
#include "host/ViewCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/PathNames.h"
#include "platform/gdi/TextLayout.h"
#include "platform/ui/framework/WinApp.h"

namespace {

const UINT kExtendedRhythmLeads = 3860;   // the leads of rhythm codes 38, 217 and 218, by index

const char kUsage[] =
    "usage: morvelance-host COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  info FILE...   open each device record (.ecg, .dat) and print its system code,\n"
    "                 record kind, lead count and data items; with the record XML\n"
    "                 beside it (the record's name, 14 time digits, .xml), also the\n"
    "                 patient fields the layout stylesheet binds and the display settings;\n"
    "                 MFER files (.mwf) with their HL7 aECG header beside them\n"
    "                 (NAME.hl7.xml); for every file, what the host's file list shows\n"
    "  open FILE...   open each record with its examination document (chosen by\n"
    "                 the record's system code; MFER files with the MFER document)\n"
    "                 and print what the views get: filtered leads, settings, pages\n"
    "  show FILE... --pane CLASS [--style N] [--no-patient] [--magnifier] [--size WxH]\n"
    "       [--user NAME] [--display NAME]\n"
    "                 show the record's pane in a frame on the X display ($DISPLAY), with\n"
    "                 --magnifier the hover magnifier at its top right, and\n"
    "                 run until the frame is closed (1 when the display cannot be reached);\n"
    "                 the serial comparison panes take every FILE at once, as pane does;\n"
    "                 --user acts for a user the page's editor and doctor prompts list\n"
    "  show FILE --dialog CLASS [--user NAME]\n"
    "                 a dialog class of the dialog command on the record, on the display,\n"
    "                 until it is closed; --user acts for a user its editor and doctor prompts list\n"
    "  pane FILE... --pane CLASS|all [--style N] [--no-patient] [--click ID,...] [--size WxH]\n"
    "       [--ms N] (--png OUT.png | --out DIR)\n"
    "                 show the record in a page pane as a host frame holds it and paint it;\n"
    "                 --click presses strip controls (ID:N picks entry N of a combo box's\n"
    "                 list); --pane all writes CLASS-STYLE.png\n"
    "                 for every pane and style that shows the record\n"
    "                 --ms N then moves the clock on N ms (the playback timers run)\n"
    "  view FILE... --view CLASS [--size WxH] [--smooth 0..3] [--grid lines|dots] --png OUT.png\n"
    "                 open each record as 'open' does and paint a view of class CLASS\n"
    "                 (sheet: every lead named, with its calibration pulse, at the\n"
    "                 document's speed; CViewRhythmWave [--style N] [--page N], pages\n"
    "                 numbered from 1 in view and print alike, one past the record's\n"
    "                 end refused; the bases\n"
    "                 CTavrionView and CWaveView draw bare paper) in a frame of the given\n"
    "                 size (1920x1080) into a PNG; several files give OUT-2.png,\n"
    "                 OUT-3.png ...; --view all --out DIR writes every class that draws\n"
    "                 a record as DIR/CLASS.png (DIR/CLASS-N.png); --mode 1|2|3\n"
    "                 sets the mouse mode; --magnify X,Y [--ratio N] --magnifier-png M.png\n"
    "                 also saves the hover magnifier with the mouse at X,Y\n"
    "  print FILE... --view CLASS [--smooth 0..3] [--grid lines|dots] (--pdf OUT.pdf | --printer QUEUE)\n"
    "                 print the view on A4 landscape pages through the PDF printer (or to a\n"
    "                 printer of the registry or a CUPS destination, as a report prints):\n"
    "                 the paper grid first, then the view's own drawing in the job's\n"
    "                 report font (the sheet: a page per stretch of the record);\n"
    "                 --view all prints every class that draws into the one PDF\n"
    "  print FILE... --report NAME [--anno] [--strip] [--style N] (--pdf OUT.pdf | --pcl | --lips |\n"
    "                 --printer QUEUE)\n"
    "                 print a report of each record through the host's report classes:\n"
    "                 rest-wave, rest-ame, rest-interpre or rhythm-wave (--anno: the annotated\n"
    "                 page; --strip: the one-lead strip under the waves); rhythm-comment,\n"
    "                 rr-wave, rr-result or rr-list (rhythm and RR records; --anno rr-wave only);\n"
    "                 --pcl and --lips write raw jobs into the spool, --printer sends the\n"
    "                 pages (with --pcl or --lips the raw job) to a printer of the registry or\n"
    "                 a CUPS destination; each prints its spool file's path, or DEST-ID for\n"
    "                 the job CUPS took\n"
    "  dialog FILE --dialog CLASS --png OUT.png [--group G] [--template 172|173|174]\n"
    "                 open a dialog on the record's document as its opener would,\n"
    "                 save it painted as PNG and cancel it; --dialog all --out DIR\n"
    "                 writes every dialog that accepts the record; missing output\n"
    "                 folders are made; the patient sheets CDlgPatientInfoComment\n"
    "                 [--page 0|1|2] and CDlgInfoCommentGeneral [--page 0|1] take\n"
    "                 --set ID=TEXT (repeatable) and --ok NAME to save through the sheet\n"
    "                 the enlarged dialogs take --lead N (CDlgEnlargedOverlap --with FILE...;\n"
    "                 without it lead II, or the record's first; a lead the record does\n"
    "                 not have ends 1, as it does for the views' --lead),\n"
    "                 --zoom K and --ruler X1,X2; --dialog panels stacks every panel\n"
    "  --help         show this text\n"
    "\n"
    "File names are taken as they are on disk (UTF-8, any script); a bare name is in\n"
    "the current folder. The exit status is 1 when any record could not be read,\n"
    "opened, shown or printed (a record the file list refuses, whose document shows\n"
    "no lead, of a kind the view, form, pane, dialog or report asked for does not\n"
    "show, or too long for the memory there is), each with a message naming the\n"
    "record and the cause; else 0. A print the print service was sent whole but\n"
    "never confirmed may still print: it ends 0 with a warning naming the job's\n"
    "data kept in the spool, to send again only if it does not print.\n"
    "\n"
    "The library finds its work directory through the registry file named by\n"
    "MORVELANCE_REGISTRY (else $XDG_CONFIG_HOME/morvelance/registry.reg). When\n"
    "the host runs installed and that registry names no work directory, the host\n"
    "registers the installed one (" MORVELANCE_BIN_TO_DATA " beside its own folder);\n"
    "the build's host, when neither file exists, writes morvelance-host.reg beside\n"
    "itself naming the build's work directory (../workdir).\n";

std::string ExecutableDir()
{
    char path[4096] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return ".";
    std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The key that names the installation's in-process server; its folder is the
// library's work directory.
const wchar_t kServerKey[] = L"CLSID\\" MORVELANCE_SERVER_CLSID L"\\InprocServer32";

bool ServerIsRegistered()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    const LONG status = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && bytes > sizeof(wchar_t);
}

// The registry text that names `server` as the in-process server.
std::string RegistryNaming(const std::string& server)
{
    std::string escaped;
    for (char c : server) {
        if (c == '\\' || c == '"') escaped.push_back('\\');
        escaped.push_back(c);
    }
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\" + platform::ToUtf8(kServerKey) + "]\n@=\"" +
           escaped + "\"\n";
}

// A host installs the library's work directory; ours, when none is
// registered, is the installed data folder beside the executable's folder, or
// in the build tree the work directory assembled beside the binaries. An
// existing registry is never rewritten in place: a missing one is written
// whole and renamed into place, and one that lacks the server gets it through
// the registry itself, which replaces the file the same way. Hosts starting
// at the same time therefore always read a complete registry.
void EnsureRegistry()
{
    const char* named = std::getenv("MORVELANCE_REGISTRY");
    if (named && *named) return;

    const std::string exeDir = ExecutableDir();
    const std::string installedWorkDir = exeDir + "/" MORVELANCE_BIN_TO_DATA;
    std::string workDir;
    if (FileExists(installedWorkDir + "/Tavrion.ocx")) {
        // Installed: the user's own registry names it.
        workDir = installedWorkDir;
    } else {
        // The build's host leaves a developer's registry alone and keeps one
        // of its own beside itself.
        if (FileExists(platform::RegistryPath())) return;
        workDir = exeDir + "/../workdir";
        setenv("MORVELANCE_REGISTRY", (exeDir + "/morvelance-host.reg").c_str(), 1);
    }
    const std::string file = platform::RegistryPath();
    if (file.empty()) return;
    const std::string server = workDir + "/Tavrion.ocx";

    if (!FileExists(file)) {
        platform::textfile::MakeFolders(platform::textfile::FolderOf(file));
        if (!platform::textfile::ReplaceAtomically(file, RegistryNaming(server)))
            std::fprintf(stderr, "morvelance-host: the work directory could not be registered in %s\n", file.c_str());
        platform::ReloadRegistry();
        return;
    }
    platform::ReloadRegistry();
    if (ServerIsRegistered()) return;
    HKEY key = nullptr;
    const std::wstring value = platform::FromUtf8(server);
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        std::fprintf(stderr, "morvelance-host: the work directory could not be registered in %s\n", file.c_str());
    if (key) RegCloseKey(key);
}

std::string Utf8(const CString& text)
{
    return platform::ToUtf8(text.str());
}

// A path as the host was given it (UTF-8 bytes) as the library takes it.
CString LibraryPath(const std::string& path)
{
    return CString(platform::HostPath(path).c_str());
}

CString IndexName(const wchar_t* prefix, UINT index)
{
    return CString((std::wstring(prefix) + std::to_wstring(index)).c_str());
}

// The raw bytes of an item, empty when the record has none.
std::vector<BYTE> ReadRaw(CTavrionDoc& doc, _ECGDATA* image, UINT tag, UINT index)
{
    const long size = doc.ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    if (size <= 0) return {};
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    const long got = doc.ecgGetData(image, tag, index, bytes.data(), size, ECG_DATA_RAW);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}

CString ReadText(CTavrionDoc& doc, _ECGDATA* image, UINT tag)
{
    const long size = doc.ecgGetData(image, tag, 0, nullptr, 0, ECG_DATA_EUC_TEXT);
    if (size <= 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(size) + 1, L'\0');
    doc.ecgGetData(image, tag, 0, text.data(), size, ECG_DATA_EUC_TEXT);
    CString result(text.data());
    result.Trim();
    return result;
}

// The layout tables a record's forms use, by its system code.
_LOAD_POSITION_TYPE LayoutTypeOf(int systemCode)
{
    switch (systemCode & 0xFF) {
    case 10: case 245: case 246: case 38: case 218: case 217: return LOAD_POS_RHYTHM;
    case 5: return LOAD_POS_RR;
    case 26: case 229: case 230: case 28: return LOAD_POS_EXTRA;
    default: return LOAD_POS_REST;
    }
}

// What the record XML holds, read the way the forms read it: through the
// paths the layout stylesheet binds to the patient fields.
void PrintRecordXml(CTavrionDoc& doc, const CString& xmlPath, int systemCode)
{
    doc.GetCtrlPosFromXSL(LayoutTypeOf(systemCode));
    CECGXMLParser xml(xmlPath, doc.Is8000File(xmlPath), CString());
    const CString idPath = doc.GetDefXMLPath(0, 1, 0);
    const CString namePath = doc.GetDefXMLPath(0, 3, 0);
    CString id, name;
    xml.GetDataFromXMLDOM(id, idPath, 4, CString());
    xml.GetDataFromXMLDOM(name, namePath, 4, CString());
    std::printf("  xml patient     %s / %s   (bound to %s)\n", Utf8(id).c_str(), Utf8(name).c_str(),
                Utf8(idPath).c_str());
    _XML_ATTRIB_DATE date;
    if (xml.GetDateAttrib(date, CString(L"/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date"), 1))
        std::printf("  xml acquired    %s/%s/%s %s:%s:%s\n", Utf8(date.strYear).c_str(), Utf8(date.strMonth).c_str(),
                    Utf8(date.strDay).c_str(), Utf8(date.strHour).c_str(), Utf8(date.strMinute).c_str(),
                    Utf8(date.strSecond).c_str());
    doc.UpDateReferenceInfo(xmlPath);
    std::printf("  settings        grid type %d, wave 0x%06X, grid 0x%06X, background 0x%06X\n", doc.GetGridType(),
                doc.GetWaveColor(0), doc.GetWaveColor(1), doc.GetWaveColor(2));
    _ANNOTATION_INFO head;
    doc.GetAnnoInfoFromXML(&head, &xml);
    CAnnoManager annotations;
    annotations.SetListHeader(&head);
    std::printf("  annotations     %d\n", annotations.GetItemCount() - 1);
    DeleteAnnotationChain(head.pNext);
    const CString suffix = doc.GetSuffix();
    if (!suffix.IsEmpty()) std::printf("  layout suffix   %s\n", Utf8(suffix).c_str());
}

// The host's file list's entry of a record file, read without opening a
// document; false, with the cause told, when the list could not read it.
bool ListFile(CTavrionDoc& doc, const std::string& path, const std::string& xml, const std::string& hl7,
              _FILEITEM_INFO& info, int& code)
{
    code = doc.ReadFile(LibraryPath(path), LibraryPath(xml), LibraryPath(hl7), &info);
    if (!host::FileListCouldNotRead(info.failure)) return true;
    host::ReportFileListFailure(path, info.failure);
    return false;
}

// What the host's file list shows of a record file; `shared` says which
// record XML of its name it does not show, as another record's may be.
void PrintFileListEntry(int code, const _FILEITEM_INFO& info, const std::string& shared)
{
    std::printf("  file list       code 0x%04X, %s, id \"%s\", name \"%s\", %d leads%s", code & 0xFFFF,
                Utf8(info.strAcqTime).c_str(), Utf8(info.strPatientID).c_str(), Utf8(info.strPatientName).c_str(),
                info.nLeadCount, info.bOldReader ? ", older reader" : "");
    if (info.nAnnoCount > 0) std::printf(", %d annotations", info.nAnnoCount);
    if (!shared.empty()) std::printf("; %s", shared.c_str());
    std::printf("\n");
}

std::string ReplaceExtension(const std::string& path, const std::string& extension)
{
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const std::string stem = (dot == std::string::npos || (slash != std::string::npos && dot < slash)) ? path : path.substr(0, dot);
    return stem + extension;
}

// An MFER file: the probe's system code and record XML name, then the reader's view.
bool PrintMferInfo(const std::string& path)
{
    CTavrionDoc doc;
    // The record XML open uses: the one beside the file, found as open finds
    // it; without one, the probe names the one a save would make.
    const host::RecordXmlSearch search = host::SearchRecordXml(path, "Raw_");
    const std::string& recordXml = search.xml;
    CString file = LibraryPath(path), xml = LibraryPath(recordXml), third;
    _DATAITEM* item = new _DATAITEM;
    item->strFilePath = file;
    item->strXMLPath = xml;
    doc.GetDataManager().AppendItem(item);
    const int code = doc.OpenMFERFile(file, xml, third);
    std::unique_ptr<CMFERParser> reader(new CMFERParser());
    if (!reader->OpenMFER(file)) {
        host::ReportMferRefusal(path, reader->GetStatus());
        return false;
    }
    std::printf("%s\n", path.c_str());
    if (code == 1) {
        std::printf("  system code     none (no examination kind for this description and lead count)\n");
    } else {
        std::printf("  system code     0x%04X\n", code);
        std::printf("  record XML      %s%s\n", Utf8(xml).c_str(), recordXml.empty() ? " (to be made)" : "");
    }
    std::printf("  rate            %.1f Hz, %.3f uV per unit, filter \"%s\"\n", reader->GetSamplingFrequency(),
                reader->GetMeasureSense(), Utf8(reader->GetFilter()).c_str());
    std::printf("  leads           ");
    const int samples = reader->GetWaveLength(0) / 2;
    for (int lead = 0; lead < reader->GetLeadCount(); ++lead)
        std::printf("%s%s:%d", lead ? " " : "", Utf8(reader->GetLeadName(lead)).c_str(), samples);
    std::printf("\n");
    // The file list reads the file again on its own: the host's reader lets
    // go of it first, so that a long file needs its memory once.
    reader.reset();
    const std::string hl7 = ReplaceExtension(path, ".hl7.xml");
    _FILEITEM_INFO listed;
    int listedCode = 1;
    if (!ListFile(doc, path, recordXml, FileExists(hl7) ? hl7 : std::string(), listed, listedCode)) return false;
    PrintFileListEntry(listedCode, listed, host::SharedRecordXmlText(search));
    return true;
}

// The leads a record holds, named as the views name them (the standard name,
// or the record's lead index, where they name none), and their count.
// Leads past the twelfth (15-lead records, stored by their data ids 0..2)
// and the leads of rhythm and RR records are items chosen by index; the
// extended rhythm family keeps them in its own item; a rhythm or RR record
// holds the leads its count item states, as the file list counts them.
void PrintLeadList(CTavrionDoc& doc, _ECGDATA* image, int systemCode, int listedLeads, const CLeadNameSource& names)
{
    int leads = 0;
    std::printf("  leads           ");
    auto print = [&](const CString& name, size_t bytes) {
        std::printf("%s%s:%zu", leads++ ? " " : "", Utf8(name).c_str(), bytes / 2);
    };
    // Records whose leads keep their order are listed by record lead.
    const bool named = CTavrionDoc::GetDataLeadID(2, systemCode) != 2;
    for (UINT display = 0; display < 12; ++display) {
        const UINT recordLead = CTavrionDoc::GetDataLeadID(display, systemCode);
        const std::vector<BYTE> samples = ReadRaw(doc, image, ECG_TAG_LEAD_BASE + recordLead, 0);
        if (samples.empty()) continue;
        print(named ? names.GetName(static_cast<int>(display), g_strLeadName[display]) : IndexName(L"#", recordLead),
              samples.size());
    }
    const int low = systemCode & 0xFF;
    const bool fifteen = low == 11 || low == 226 || low == 227;
    const bool extendedRhythm = low == 38 || low == 217 || low == 218;
    const bool extra = low == 26 || low == 229 || low == 230 || low == 28;
    const std::string documentClass = host::DocumentClassFor(static_cast<unsigned>(systemCode));
    const bool counted = documentClass == "CRhythmViewDoc" || documentClass == "CRRViewDoc";
    const UINT indexTag = extendedRhythm ? kExtendedRhythmLeads : ECG_TAG_LEAD_BY_INDEX;
    const UINT indexCount = counted ? static_cast<UINT>(std::max(listedLeads, 0))
                                    : leads ? (fifteen ? 3 : extra ? 16 : 0) : 16;
    const int standard = leads;
    for (UINT index = 0; index < indexCount; ++index) {
        const std::vector<BYTE> samples = ReadRaw(doc, image, indexTag, index);
        if (samples.empty()) continue;
        const UINT viewLead = fifteen ? index + 12 : index;
        print(names.GetName(static_cast<int>(viewLead), IndexName(extra ? L"extra#" : L"#", viewLead)), samples.size());
    }
    if (extra) {
        // An extra-lead record counts the leads it holds by lead index beside
        // the standard twelve: three or six extra leads and a rhythm strip
        // when it has one (four or seven), or a freeze record's leads.
        std::printf("\n  lead count      %d (by lead index, beside the standard twelve)\n", leads - standard);
    } else {
        std::printf("\n  lead count      %d\n", leads);
    }
}

// Prints what one record holds; false when it cannot be opened.
bool PrintInfo(const std::string& path)
{
    std::unique_ptr<CObject> object(CRuntimeClass::CreateObject("CTavrionDoc"));
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, object.get());
    if (!doc) {
        std::fprintf(stderr, "morvelance-host: the library has no CTavrionDoc\n");
        return false;
    }

    CString filePath = LibraryPath(path);
    const host::RecordXmlSearch search = host::SearchRecordXml(path);
    const std::string& recordXml = search.xml;
    CString xmlPath = LibraryPath(recordXml);
    _DATAITEM* item = new _DATAITEM;
    item->strFilePath = filePath;
    item->strXMLPath = xmlPath;
    doc->GetDataManager().AppendItem(item);

    const int systemCode = doc->OpenFile(xmlPath, filePath);
    _ECGDATA* image = nullptr;
    int kind = 0;
    int oldReader = 0;
    const int opened = doc->MFERTransOpenFile(filePath, image, kind, oldReader);
    // The leads are named as the record's document names them: a record
    // its document cannot open is no record info can describe, nor is one
    // the file list could not read. The list's entry is read before the
    // document takes its memory, and before anything is told of the record.
    std::unique_ptr<CTavrionDoc> shown;
    _FILEITEM_INFO listed;
    int listedCode = 1;
    bool readable = systemCode != 1 && opened == 0 && image;
    if (!readable)
        host::ReportRefusal(path);
    else
        readable = ListFile(*doc, path, recordXml, std::string(), listed, listedCode) &&
                   host::OpenRecord(path, &shown);   // says itself why it could not
    if (!readable) {
        FreeECGData(image);
        return false;
    }

    std::printf("%s\n", path.c_str());
    std::printf("  system code     0x%04X (low byte %d)\n", systemCode, systemCode & 0xFF);
    std::printf("  record kind     %d\n", kind);
    std::printf("  reader          %s\n", oldReader ? "ZARN80 (older)" : "ZARN90 (newer)");
    std::printf("  record XML      %s%s\n", Utf8(item->strXMLPath).c_str(), recordXml.empty() ? " (to be made)" : "");
    std::printf("  blobs           %u bytes (3836%s)\n", image->dwBlobSize, image->pBlob3855 ? " and 3855" : "");
    std::printf("  patient id      %s\n", Utf8(ReadText(*doc, image, 3001)).c_str());
    std::printf("  patient name    %s\n", Utf8(ReadText(*doc, image, 3002)).c_str());
    const std::vector<BYTE> when = ReadRaw(*doc, image, 3009, 0);
    if (when.size() >= 7) {
        std::printf("  acquired        %04d/%02d/%02d %02d:%02d:%02d\n", when[0] | (when[1] << 8),
                    static_cast<signed char>(when[2]), static_cast<signed char>(when[3]),
                    static_cast<signed char>(when[4]), static_cast<signed char>(when[5]),
                    static_cast<signed char>(when[6]));
    }

    const CLeadNameSource names(shown.get());
    PrintLeadList(*doc, image, systemCode, listed.nLeadCount, names);
    const std::vector<BYTE> baseline = ReadRaw(*doc, image, ECG_TAG_BASELINE, 0);
    if (baseline.size() >= 2)
        std::printf("  average base    %d\n", static_cast<short>(baseline[0] | (baseline[1] << 8)));

    if (!recordXml.empty()) PrintRecordXml(*doc, item->strXMLPath, systemCode);
    PrintFileListEntry(listedCode, listed, host::SharedRecordXmlText(search));

    FreeECGData(image);
    return true;
}

}  // namespace

int main(int argc, char** argv)
try {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    const bool viewing = command == "view" || command == "print";
    if (command != "info" && command != "open" && !viewing && command != "dialog" && command != "pane" &&
        command != "show") {
        std::fprintf(stderr, "morvelance-host: unknown command '%s' (try --help)\n", command.c_str());
        return 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "morvelance-host: %s needs at least one record file\n", command.c_str());
        return 2;
    }

    EnsureRegistry();
    if (!platform::ui::StartModules()) {
        std::fprintf(stderr, "morvelance-host: the library failed to start\n");
        return 1;
    }
    if (!g_pWorkDir || !*g_pWorkDir)
        std::fprintf(stderr, "morvelance-host: warning: no work directory is registered\n");
    // Text is made ready before any record takes the memory; with no room
    // for it, no command can go on.
    const platform::gdi::TextSetup text = platform::gdi::PrepareText();
    if (text == platform::gdi::TextSetup::NoMemory) {
        host::ReportFailure("not enough memory for text: %s", platform::gdi::TextSetupFailure().c_str());
        platform::ui::StopModules();
        return 1;
    }
    if (text == platform::gdi::TextSetup::NoFonts)
        std::fprintf(stderr, "morvelance-host: warning: no fonts could be loaded\n");
    host::EchoLibraryMessages();

    if (command == "show") {
        const int status = host::RunShowCommand(argc - 2, argv + 2, host::OpenForViews);
        platform::ui::StopModules();
        return status;
    }
    if (command == "dialog" || command == "pane") {
        const int status = command == "pane" ? host::RunPaneCommand(argc - 2, argv + 2, host::OpenForViews)
                                             : host::RunDialogCommand(argc - 2, argv + 2, host::OpenForViews);
        platform::ui::StopModules();
        return status;
    }
    if (viewing) {
        const int status = command == "print" && host::IsReportRequest(argc - 2, argv + 2)
                               ? host::RunReportCommand(argc - 2, argv + 2, host::OpenForViews)
                               : host::RunViewCommand(command, argc - 2, argv + 2, host::OpenForViews);
        platform::ui::StopModules();
        return status;
    }

    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        host::SetCurrentRecord(path);
        const bool mfer = host::IsMferFile(path);
        bool ok;
        if (command == "open") {
            host::RecordFiles files;
            files.record = path;
            if (mfer) {
                const host::RecordXmlSearch search = host::SearchRecordXml(path, "Raw_");
                files.xml = search.xml;
                host::NoteSharedRecordXml(path, search);
            }
            ok = mfer ? host::OpenMferRecord(files) : host::OpenRecord(path);
        } else {
            ok = mfer ? PrintMferInfo(path) : PrintInfo(path);
        }
        if (!ok) ++failures;
    }
    platform::ui::StopModules();
    return failures ? 1 : 0;
} catch (const std::bad_alloc&) {
    // A record too long for the memory there is ends its command with that
    // cause, never with an abort.
    host::ReportFailure("not enough memory for %s", argc > 1 ? argv[1] : "the command");
    return 1;
} catch (const std::exception& error) {
    host::ReportFailure("%s failed: %s", argc > 1 ? argv[1] : "the command", error.what());
    return 1;
}
