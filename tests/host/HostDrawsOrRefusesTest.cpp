// Every command of the host that draws, over a record of every kind the
// samples hold: each picture (each printed first page) holds ink where the
// class draws the record, or the run ends 1 with a message naming the
// record and writes nothing for it. An empty picture reported as drawn (the
// averaged beats of an RR record, the RR views of a resting one, a form
// printed as a blank page) cannot pass for one. The "all" forms write only
// what the named runs draw.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <future>
#include <map>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::PngImage;
using testsupport::TempDir;

namespace {

// A box of a picture or page (fractions of its width and height) and the
// ink it must hold there: black ink, or the blue of the compared records'
// traces. Outside the box lie what a view draws for any record alike:
// the calibration pulses, captions, table headings, the page frame.
struct Probe {
    double left, top, right, bottom;
    int ink;
    bool blue = false;
};

const char kSize[] = "480x270";
const Probe kScreen = {0.1, 0.0, 1.0, 1.0, 100};
// A printed page at 50 dpi: the traces are grey there, the grid lighter.
const Probe kPaper = {0.12, 0.12, 0.88, 0.88, 5};
const Probe kTopBand = {0.06, 0.06, 0.94, 0.25, 100};
const Probe kReportWaves = {0.12, 0.3, 0.88, 0.88, 50};

// What a named class draws where, on screen and on paper (when not the defaults).
struct ViewClass {
    const char* name;
    Probe screen = kScreen;
    Probe paper = kPaper;
};

const ViewClass kViews[] = {
    {"sheet"},
    {"CViewRhythmWave"},
    {"CViewAverageWave", kScreen, {0.12, 0.12, 0.88, 0.88, 300}},
    {"CViewAveOverlappedWave"},
    {"CViewCAL", {0.0, 0.0, 1.0, 1.0, 100}, {0.0, 0.0, 0.1, 1.0, 100}},
    // The tables: the QRS numbers' values below their heading row.
    {"CViewDetailedMeas"},
    {"CViewQRSNo", {0.3, 0.45, 0.95, 0.85, 100}, {0.06, 0.06, 0.94, 0.25, 200}},
    {"CViewQRSType"},
    {"CViewRRHistogram"},
    {"CViewRRTrend"},
    {"CViewRRIntervalList", {0.0, 0.1, 1.0, 1.0, 100}},
    {"CViewRRResult"},
    {"CViewFinalCom12Leads"},
    {"CViewFinalCom1Lead"},
    {"CViewFinalEnlargeWave"},
    {"CViewHRTrend"},
    {"CViewSTTrend"},
    {"CViewSummaryProtocol", kScreen, {0.06, 0.06, 0.5, 0.25, 50}},
    {"CViewExerAverage"},
    {"CViewExerTrend"},
    {"CViewExerSummaryAverage"},
    {"CViewMemoryWave"},
    {"CViewResultTable"},
    {"CViewExerAverage3D"},
    // The enlarged views in their dialogs: the trace above the table and
    // buttons (the overlap's traces in their records' colours).
    {"CViewEnlargedWave", {0.1, 0.05, 0.9, 0.54, 300}},
    {"CViewEnlargedOverlap", {0.05, 0.05, 0.85, 0.75, 300, true}},
    {"CViewDividerWave"},
    {"CViewEnlargedPreview"},
    // The strip under its page (on paper, a band at the top).
    {"CViewScroll1LeadWave", {0.1, 0.5, 1.0, 1.0, 100}, kTopBand},
    {"CViewScroll1LeadRhyWave"},
    {"CViewSerialComRhy"},
    {"CViewSerialComAve", {0.1, 0.0, 1.0, 1.0, 100, true}},
    {"CFormPatientInfo", kScreen, kTopBand},
    {"CFormInterpre", kScreen, {0.12, 0.12, 0.88, 0.88, 100}},
    {"CFormInterpreAme"},
    {"CFormInterpreExer"},
    {"CFormInterpreMsfr"},
    {"CFormInterpreRhyRR"},
};

const char* const kReports[] = {"rest-wave",      "rest-ame", "rest-interpre", "rhythm-wave", "rhythm-comment",
                                "rr-wave",        "rr-result", "rr-list",      "extra-wave",  "extra-comment"};

const char* const kPanes[] = {
    "CWndRestRhythmWave", "CWndRestRhythmWaveAme", "CWndRestInterpretation", "CWndRestDetailMeas",
    "CWndRhythmWave",     "CWndRhythmComment",     "CWndRRWave",             "CWndRRComment",
    "CWndRRResult",       "CWndExtraWave",         "CWndExtraRhythmWave",    "CWndExtraCommentWave",
    "CWndExtraCommentRhythmWave", "CWndExerAverage", "CWndExerTrend",        "CWndExerMemory",
    "CWndExerSummary",    "CWndExerResult",        "CWndFinalSummary",       "CWndFinalWaveCom",
    "CWndFinalSTTrend",   "CWndRestSerialComAve",  "CWndRestSerialComRhy"};

const char* const kDialogs[] = {
    "CDlgEditor",           "CDlgDoctor",          "CDlgEditAdditionalInfor", "CDlgEditAdditionItem",
    "CDlgEditComment",      "CDlgEditCommentItem", "CDlgEditIvrelCode",       "CDlgEditMinneCode",
    "CDlgExerLeadSelection", "CDlgPrintStatus",    "CDlgPatientInfoComment",  "CDlgInfoCommentGeneral",
    "CDlg15LeadEditLeadName", "CDlgExtraEditLeadName", "CDlgRhythmEditLeadName", "CDlgExtraFreezeEditLeadName",
    "CDlgEnlargedWave",     "CDlgEnlargedRhyRR",   "CDlgEnlargedOverlap",     "CDlgFinalRestEnlarge",
    "CDlgFinalLoadEnlarge", "CDlgDivider",         "CDlgEnlargedPreview",     "panels"};

// One record of each kind, and within a kind what a picture is made of:
// an MFER file with average beats and of twelve leads, one without.
const char* const kRecords[] = {"samples/rest12_90.ecg", "ex/mstep243.ecg",  "samples/rhythm_90.ecg",
                                "samples/rr_90.ecg",     "ex/extra6_90.ecg", "ex/exercise_90.ecg",
                                "mfer12.mwf",            "mfer-extra4.mwf",  "mfer-rhythm15.mwf"};
const size_t kRecordCount = sizeof kRecords / sizeof kRecords[0];

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// OUT.png for the first record of a run, OUT-N.png for the N-th.
std::string Numbered(const std::string& path, size_t index)
{
    if (index == 0) return path;
    const size_t dot = path.rfind('.');
    return path.substr(0, dot) + "-" + std::to_string(index + 1) + path.substr(dot);
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The files in a folder and the folders under it (a folder made for a
// picture that is never written holds none).
std::vector<std::string> FilesUnder(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file()) files.push_back(it->path().string());
    return files;
}

bool IsBlue(uint32_t rgb)
{
    return (rgb & 0xFF) > 150 && ((rgb >> 16) & 0xFF) < 120 && ((rgb >> 8) & 0xFF) < 120;
}

// Grey or darker: a printed trace at 50 dpi (the grid stays lighter).
bool IsPrinted(uint32_t rgb)
{
    return ((rgb >> 16) & 0xFF) < 180 && ((rgb >> 8) & 0xFF) < 180 && (rgb & 0xFF) < 180;
}

int InkIn(const PngImage& image, const Probe& probe, bool paper)
{
    const int w = image.Width(), h = image.Height();
    return image.CountIn(static_cast<int>(w * probe.left), static_cast<int>(h * probe.top),
                         static_cast<int>(w * probe.right), static_cast<int>(h * probe.bottom),
                         [&](uint32_t rgb) { return paper ? IsPrinted(rgb) : probe.blue ? IsBlue(rgb) : PngImage::IsDark(rgb); });
}

// The share of a picture that is not its commonest colour: a pane or a
// dialog drawn as one plain field has next to none.
double Drawn(const PngImage& image)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image.Height(); y += 2)
        for (int x = 0; x < image.Width(); x += 2) pixels.push_back(image.Pixel(x, y));
    std::sort(pixels.begin(), pixels.end());
    size_t commonest = 0;
    for (size_t i = 0; i < pixels.size();) {
        size_t j = i;
        while (j < pixels.size() && pixels[j] == pixels[i]) ++j;
        commonest = std::max(commonest, j - i);
        i = j;
    }
    return pixels.empty() ? 0.0 : 1.0 - static_cast<double>(commonest) / pixels.size();
}

class HostDrawsOrRefusesTest : public ::testing::Test {
protected:
    // One folder of records for the whole suite, made once.
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        MakeRecords({"samples", s_dir->File("samples")});
        MakeRecords({"examinations", s_dir->File("ex")});
        MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", s_dir->File("mfer12.mwf")});
        MakeRecords({"mfer", "--kind", "extra4", "--little-endian", "--out", s_dir->File("mfer-extra4.mwf")});
        MakeRecords({"mfer", "--kind", "rhythm15", "--seconds", "30", "--out", s_dir->File("mfer-rhythm15.mwf")});
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static std::string Record(size_t index) { return s_dir->File(kRecords[index]); }
    static std::vector<std::string> AllRecords()
    {
        std::vector<std::string> records;
        for (size_t i = 0; i < kRecordCount; ++i) records.push_back(Record(i));
        return records;
    }

    // The record refused by `run`: ended 1, with a message naming it (or the
    // class, for a class refused before any record opened), and nothing written.
    static void ExpectRefused(const HostRun& run, const std::string& record, const std::string& name,
                              const std::string& picture)
    {
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_TRUE(Contains(run.err, BaseName(record) + ":") || Contains(run.err, BaseName(record) + " is") ||
                    Contains(run.err, "morvelance-host: " + name + " "))
            << "no message for the record: " << run.err;
        EXPECT_FALSE(Exists(picture)) << picture;
    }

    // Judges record `index` of a run over `records` (its picture at
    // Numbered(out, place)): drawn with `ink` in the probe, or refused.
    static void Judge(const HostRun& run, const std::string& record, const std::string& name,
                      const std::string& picture, const std::function<int(const std::string&)>& ink, int needed)
    {
        SCOPED_TRACE(name + " on " + BaseName(record));
        if (!Exists(picture)) return ExpectRefused(run, record, name, picture);
        EXPECT_FALSE(Contains(run.err, BaseName(record) + ": " + name)) << run.err;
        EXPECT_GE(ink(picture), needed) << picture << " is drawn without the record in it";
    }

    // The first page of a PDF at 50 dpi.
    static int PageInk(const std::string& pdf, const Probe& probe)
    {
        const std::string stem = pdf.substr(0, pdf.size() - 4) + "-page";
        const std::string command = "pdftoppm -r 50 -f 1 -l 1 -png -singlefile " + Quoted(pdf) + " " + Quoted(stem);
        if (std::system(command.c_str()) != 0) return -1;
        const PngImage image(stem + ".png");
        return image.Ok() ? InkIn(image, probe, true) : -1;
    }

    // A view or form named on every record: in one run where the command
    // takes several records, else record by record (the forms show one
    // record at a time, a comparison takes every record into one picture).
    void ForEachNamedRun(const std::string& command, const ViewClass& view,
                         const std::function<void(const HostRun&, const std::string&, const std::string&)>& judge,
                         const std::function<std::vector<std::string>(const std::string& out)>& extra = nullptr)
    {
        const std::string name = view.name;
        const bool one = name.rfind("CForm", 0) == 0 || name == "CViewSerialComRhy" || name == "CViewSerialComAve" ||
                         name == "CViewEnlargedOverlap";
        const std::string ext = command == "print" ? ".pdf" : ".png";
        const bool sized = command == "view" && name != "CViewEnlargedWave" && name != "CViewEnlargedOverlap" &&
                           name.rfind("CForm", 0) != 0;
        auto args = [&](const std::vector<std::string>& records, const std::string& out) {
            std::vector<std::string> all = {command};
            all.insert(all.end(), records.begin(), records.end());
            all.insert(all.end(), {"--view", name, command == "print" ? "--pdf" : "--png", out});
            if (sized) all.insert(all.end(), {"--size", kSize});
            if (extra) {
                const std::vector<std::string> more = extra(out);
                all.insert(all.end(), more.begin(), more.end());
            }
            return all;
        };
        if (one) {
            for (size_t i = 0; i < kRecordCount; ++i) {
                const std::string out = m_out.File(command + "-" + name + "-" + std::to_string(i) + ext);
                judge(Host(args({Record(i)}, out)), Record(i), out);
            }
            return;
        }
        const std::string out = m_out.File(command + "-" + name + ext);
        const HostRun run = Host(args(AllRecords(), out));
        bool refused = false;
        for (size_t i = 0; i < kRecordCount; ++i) {
            judge(run, Record(i), Numbered(out, i));
            refused = refused || !Exists(Numbered(out, i));
        }
        // With options some classes refuse before any record opens (2).
        if (extra)
            EXPECT_EQ(refused, run.status != 0) << name << ": " << run.err;
        else
            EXPECT_EQ(refused ? 1 : 0, run.status) << name << ": " << run.err;
    }

    static TempDir* s_dir;
    TempDir m_out;
};

TempDir* HostDrawsOrRefusesTest::s_dir = nullptr;

}  // namespace

TEST_F(HostDrawsOrRefusesTest, EveryViewAndFormDrawsARecordOnScreenOrRefusesItAndAllDrawsNoOther)
{
    std::map<std::string, std::set<std::string>> drawn;   // by record: the classes its named runs drew
    for (const ViewClass& view : kViews)
        ForEachNamedRun("view", view, [&](const HostRun& run, const std::string& record, const std::string& png) {
            Judge(run, record, view.name, png,
                  [&](const std::string& path) { return InkIn(PngImage(path), view.screen, false); }, view.screen.ink);
            if (Exists(png)) drawn[record].insert(view.name);
        });
    // "--view all" writes CLASS.png (CLASS-LAYOUT.png) for the classes drawn when named, and no other.
    for (size_t i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(kRecords[i]);
        const std::string dir = m_out.File("all-views-" + std::to_string(i));
        const HostRun run = Host({"view", Record(i), "--view", "all", "--size", kSize, "--out", dir});
        EXPECT_EQ(0, run.status) << run.err;
        for (const std::string& file : testsupport::FolderEntries(dir))
            EXPECT_EQ(1u, drawn[Record(i)].count(file.substr(0, file.find_first_of("-."))))
                << file << " is written by all but not drawn when named";
    }
}

TEST_F(HostDrawsOrRefusesTest, EveryViewAndFormPrintsARecordOrRefusesIt)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    for (const ViewClass& view : kViews)
        ForEachNamedRun("print", view, [&](const HostRun& run, const std::string& record, const std::string& pdf) {
            Judge(run, record, view.name, pdf, [&](const std::string& path) { return PageInk(path, view.paper); },
                  view.paper.ink);
        });
}

TEST_F(HostDrawsOrRefusesTest, EveryReportPrintsARecordOrRefusesIt)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    for (const char* report : kReports) {
        const std::string out = m_out.File(std::string(report) + ".pdf");
        std::vector<std::string> args = {"print"};
        for (const std::string& record : AllRecords()) args.push_back(record);
        args.insert(args.end(), {"--report", report, "--pdf", out});
        const HostRun run = Host(args);
        for (size_t i = 0; i < kRecordCount; ++i) {
            // The interpretation page shows the average beats on its right
            // half; a rhythm record's page its comment in their place.
            const bool rhythm = Contains(kRecords[i], "rhythm_90");
            const Probe probe = std::string(report) != "rest-interpre" ? kReportWaves
                                : rhythm ? Probe{0.03, 0.12, 0.45, 0.6, 200}
                                         : Probe{0.6, 0.1, 0.9, 0.7, 100};
            Judge(run, Record(i), report, Numbered(out, i), [&](const std::string& pdf) { return PageInk(pdf, probe); },
                  probe.ink);
        }
    }
}

TEST_F(HostDrawsOrRefusesTest, EveryPaneShowsARecordOrRefusesItAndAllShowsNoOther)
{
    const double kDrawn = 0.05;
    std::vector<std::set<std::string>> shown(kRecordCount);
    for (const char* pane : kPanes) {
        const std::string name = pane;
        // A comparing pane takes every file given into one series.
        const bool series = Contains(name, "SerialCom");
        std::vector<std::vector<size_t>> runs;
        if (series) {
            for (size_t i = 0; i < kRecordCount; ++i) runs.push_back({i});
        } else {
            runs.emplace_back();
            for (size_t i = 0; i < kRecordCount; ++i) runs.back().push_back(i);
        }
        for (const std::vector<size_t>& indexes : runs) {
            const std::string out = m_out.File(name + "-" + std::to_string(indexes.front()) + ".png");
            std::vector<std::string> args = {"pane"};
            for (size_t i : indexes) args.push_back(Record(i));
            args.insert(args.end(), {"--pane", name, "--size", "320x180", "--png", out});
            const HostRun run = Host(args);
            for (size_t place = 0; place < indexes.size(); ++place) {
                const size_t i = indexes[place];
                Judge(run, Record(i), name, Numbered(out, place),
                      [](const std::string& png) { return static_cast<int>(Drawn(PngImage(png)) * 100); },
                      static_cast<int>(kDrawn * 100));
                if (Exists(Numbered(out, place))) shown[i].insert(name);
            }
        }
    }
    // "--pane all" writes CLASS-STYLE.png for the panes the named runs show, and no other.
    for (size_t i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(kRecords[i]);
        const std::string dir = m_out.File("all-panes-" + std::to_string(i));
        const HostRun run = Host({"pane", Record(i), "--pane", "all", "--size", "320x180", "--out", dir});
        EXPECT_EQ(0, run.status) << run.err;
        std::set<std::string> written;
        for (const std::string& file : testsupport::FolderEntries(dir)) written.insert(file.substr(0, file.find_first_of("-.")));
        written.erase("");
        EXPECT_EQ(shown[i], written);
    }
}

TEST_F(HostDrawsOrRefusesTest, EveryDialogOpensOnARecordOrRefusesItAndAllOpensNoOther)
{
    // "--dialog all" writes the dialogs that take the record; each is drawn,
    // and each dialog it leaves out refuses the record when named.
    for (size_t i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(kRecords[i]);
        const std::string dir = m_out.File("all-dialogs-" + std::to_string(i));
        const HostRun all = Host({"dialog", Record(i), "--dialog", "all", "--out", dir});
        EXPECT_EQ(0, all.status) << all.err;
        std::set<std::string> written;
        for (const std::string& file : testsupport::FolderEntries(dir)) {
            const std::string name = file.substr(0, file.find_first_of("-."));
            written.insert(name);
            EXPECT_GE(Drawn(PngImage(dir + "/" + file)), 0.05) << file << " is drawn as one plain field";
        }
        for (const char* dialog : kDialogs) {
            if (written.count(dialog)) continue;
            const std::string png = m_out.File(std::string("named-") + dialog + ".png");
            ExpectRefused(Host({"dialog", Record(i), "--dialog", dialog, "--png", png}), Record(i), dialog, png);
        }
    }
}

// The options of the drawing commands: a style, a magnifier, a page a record
// does not print are drawn as asked or refused with a message naming them,
// and nothing is written for the refused record.

TEST_F(HostDrawsOrRefusesTest, EveryStyleOfTheMultiLeadViewDrawsARecordOrRefusesIt)
{
    std::vector<int> styles;
    for (int style = 1; style <= 28; ++style) styles.push_back(style);
    styles.push_back(99);
    std::map<std::string, int> drawn;   // by record: the styles drawn
    for (int style : styles) {
        const std::string out = m_out.File("style-" + std::to_string(style) + ".png");
        std::vector<std::string> args = {"view"};
        for (const std::string& record : AllRecords()) args.push_back(record);
        args.insert(args.end(), {"--view", "CViewRhythmWave", "--style", std::to_string(style), "--size", kSize,
                                 "--png", out});
        const HostRun run = Host(args);
        for (size_t i = 0; i < kRecordCount; ++i) {
            SCOPED_TRACE("style " + std::to_string(style) + " on " + kRecords[i]);
            const std::string png = Numbered(out, i);
            // The beat-and-trend records are refused by their kind, the others by the style.
            const bool strips = !Contains(kRecords[i], "mstep") && !Contains(kRecords[i], "exercise");
            if (!Exists(png)) {
                ExpectRefused(run, Record(i), "CViewRhythmWave", png);
                const std::string said = BaseName(Record(i)) + ": --style " + std::to_string(style) + ": ";
                EXPECT_TRUE(!strips || Contains(run.err, said)) << run.err;
                continue;
            }
            EXPECT_GE(InkIn(PngImage(png), kScreen, false), 100) << png << " is drawn without the record in it";
            ++drawn[Record(i)];
        }
    }
    // Each record that has strips is drawn in some style; none in style 99.
    for (size_t i = 0; i < kRecordCount; ++i) {
        if (Contains(kRecords[i], "mstep") || Contains(kRecords[i], "exercise")) continue;
        EXPECT_GT(drawn[Record(i)], 0) << kRecords[i];
    }
    EXPECT_EQ(0u, drawn.count(Record(1)) + drawn.count(Record(5)));
}

TEST_F(HostDrawsOrRefusesTest, EveryWaveReportPrintsAStyleOrRefusesIt)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // Below the patient block: the traces or the comment page's form.
    const Probe page = {0.12, 0.15, 0.88, 0.88, 50};
    // Each with the records (by index) it must print: a style a record's
    // pages take prints, whatever the refusals around it.
    struct Run {
        std::string report;
        int style;
        std::set<size_t> prints;
    };
    const std::vector<Run> runs = {
        {"rest-wave", 99, {}},      {"rest-wave", 16, {}},     {"rest-wave", 1, {0, 6}}, {"rest-ame", 99, {}},
        {"rest-ame", 24, {}},       {"extra-wave", 99, {}},    {"extra-wave", 24, {}},   {"rhythm-comment", 99, {}},
        {"rhythm-comment", 27, {}}, {"rr-wave", 21, {3}},      {"rest-interpre", 5, {}}, {"rr-result", 1, {}}};
    for (const auto& [report, style, prints] : runs) {
        const std::string out = m_out.File(report + "-" + std::to_string(style) + ".pdf");
        std::vector<std::string> args = {"print"};
        for (const std::string& record : AllRecords()) args.push_back(record);
        args.insert(args.end(), {"--report", report, "--style", std::to_string(style), "--pdf", out});
        const HostRun run = Host(args);
        for (size_t i = 0; i < kRecordCount; ++i) {
            SCOPED_TRACE(report + " --style " + std::to_string(style) + " on " + kRecords[i]);
            const std::string pdf = Numbered(out, i);
            if (!Exists(pdf)) {
                EXPECT_EQ(0u, prints.count(i)) << "the record takes the style and is refused: " << run.err;
                ExpectRefused(run, Record(i), report, pdf);
                continue;
            }
            EXPECT_NE(99, style) << "a style of no layout is printed";
            EXPECT_GE(PageInk(pdf, page), page.ink) << pdf << " is printed without the record in it";
        }
    }
}

TEST_F(HostDrawsOrRefusesTest, EveryPaneShowsOnlyThePageStylesItHas)
{
    for (const char* pane : kPanes) {
        const std::string name = pane;
        const std::string out = m_out.File(name + "-99.png");
        // A comparing pane takes one series of resting records.
        const std::vector<std::string> records =
            Contains(name, "SerialCom") ? std::vector<std::string>{Record(0)} : AllRecords();
        std::vector<std::string> args = {"pane"};
        for (const std::string& record : records) args.push_back(record);
        args.insert(args.end(), {"--pane", name, "--style", "99", "--size", "320x180", "--png", out});
        const HostRun run = Host(args);
        SCOPED_TRACE(name);
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_TRUE(Contains(run.err, "--style 99: " + name + " takes ")) << run.err;
        for (size_t i = 0; i < records.size(); ++i) EXPECT_FALSE(Exists(Numbered(out, i))) << records[i];
    }
    // The extra-lead wave page has no style 3 (it is the rhythm page's); an
    // MFER file takes its pages in the MFER numbering as well.
    const std::string extra = m_out.File("extra-3.png");
    const HostRun three = Host({"pane", Record(4), "--pane", "CWndExtraWave", "--style", "3", "--png", extra});
    ExpectRefused(three, Record(4), "CWndExtraWave", extra);
    EXPECT_TRUE(Contains(three.err, "--style 3: CWndExtraWave takes styles 1, 2 and 5 to 10 on an extra-lead record"))
        << three.err;
    const std::string mfer = m_out.File("mfer-58.png");
    const HostRun fiftyEight =
        Host({"pane", Record(7), "--pane", "CWndExtraWave", "--style", "58", "--size", "320x180", "--png", mfer});
    EXPECT_EQ(0, fiftyEight.status) << fiftyEight.err;
    EXPECT_GE(Drawn(PngImage(mfer)), 0.05);
    // "--pane all" shows every style of every pane; one style asked of it is refused.
    const std::string dir = m_out.File("all-panes-style");
    const HostRun all = Host({"pane", Record(0), "--pane", "all", "--style", "5", "--size", "320x180", "--out", dir});
    EXPECT_EQ(1, all.status);
    EXPECT_TRUE(Contains(all.err, "--style 5: --pane all")) << all.err;
    EXPECT_EQ(std::vector<std::string>{}, testsupport::FolderEntries(dir));
}

TEST_F(HostDrawsOrRefusesTest, AMagnifierAskedForIsWrittenWithItsViewOrRefusedBeforeEither)
{
    // Every class of the view table on every record: the view's picture and
    // its magnifier are both written, or neither is and the run says why.
    // A view with no magnifier of its own (the RR result, histogram, trend
    // and interval list among them) is refused before its picture is drawn.
    std::map<std::string, int> magnified;   // by class: the records drawn with their magnifier
    // The magnifier of a picture DIR/NAME is DIR/m-NAME, numbered by record as the picture is.
    const auto magnifierOf = [](const std::string& picture) {
        const size_t slash = picture.rfind('/');
        return picture.substr(0, slash + 1) + "m-" + picture.substr(slash + 1);
    };
    for (const ViewClass& view : kViews)
        ForEachNamedRun(
            "view", view,
            [&](const HostRun& run, const std::string& record, const std::string& png) {
                SCOPED_TRACE(std::string(view.name) + " on " + BaseName(record));
                const std::string magnifier = magnifierOf(png);
                EXPECT_EQ(Exists(png), Exists(magnifier)) << run.err;
                if (!Exists(png)) {
                    EXPECT_NE(0, run.status) << run.err;
                }
                if (Exists(magnifier)) ++magnified[view.name];
            },
            [&](const std::string& out) {
                return std::vector<std::string>{"--magnify", "200,100", "--magnifier-png", magnifierOf(out)};
            });
    // The sheet and the views of waves draw it; the RR views never.
    for (const char* drawn : {"sheet", "CViewRhythmWave", "CViewAverageWave", "CViewCAL"})
        EXPECT_GT(magnified[drawn], 0) << drawn;
    for (const char* refused : {"CViewRRResult", "CViewRRHistogram", "CViewRRTrend", "CViewRRIntervalList",
                                "CViewScroll1LeadWave", "CViewSerialComAve"})
        EXPECT_EQ(0, magnified[refused]) << refused;
    const HostRun rr = Host({"view", Record(3), "--view", "CViewRRTrend", "--magnify", "200,150", "--magnifier-png",
                             m_out.File("rr-m.png"), "--png", m_out.File("rr.png")});
    EXPECT_EQ(1, rr.status);
    EXPECT_TRUE(Contains(rr.err, "CViewRRTrend takes no --magnify")) << rr.err;
    // "--view all" would draw one magnifier per view into one picture.
    const std::string dir = m_out.File("all-magnified");
    const HostRun all =
        Host({"view", Record(0), "--view", "all", "--magnify", "200,100", "--magnifier-png", m_out.File("all-m.png"),
              "--out", dir});
    EXPECT_EQ(1, all.status);
    EXPECT_TRUE(Contains(all.err, "--view all takes no --magnify")) << all.err;
    EXPECT_FALSE(Exists(dir));
    EXPECT_FALSE(Exists(m_out.File("all-m.png")));
    // A magnifier without its picture, or on paper, or a pop-up's picture
    // without the double-click that opens it, would be asked for and never made.
    const std::string png = m_out.File("alone.png"), magnifierPng = m_out.File("m.png");
    EXPECT_NE(0, Host({"view", Record(0), "--view", "CViewRhythmWave", "--magnify", "300,100", "--png", png}).status);
    EXPECT_NE(0, Host({"view", Record(0), "--view", "CViewRhythmWave", "--popup-png", m_out.File("popup.png"), "--png",
                       png})
                     .status);
    EXPECT_NE(0, Host({"print", Record(0), "--view", "CViewRhythmWave", "--magnify", "300,100", "--magnifier-png",
                       magnifierPng, "--pdf", m_out.File("m.pdf")})
                     .status);
    EXPECT_FALSE(Exists(png));
    EXPECT_FALSE(Exists(m_out.File("m.pdf")));
}

TEST_F(HostDrawsOrRefusesTest, AllWithAStyleTheRecordDoesNotTakeWritesNothingOfIt)
{
    // An exercise record's trends run 1 to 18; a resting record's pages 1 to 15.
    const std::vector<std::pair<size_t, std::string>> runs = {{5, "19"}, {0, "20"}};
    for (const auto& [index, style] : runs) {
        SCOPED_TRACE(kRecords[index]);
        const std::string dir = m_out.File("all-style-" + std::to_string(index));
        const HostRun run = Host({"view", Record(index), "--view", "all", "--style", style, "--size", kSize, "--out", dir});
        EXPECT_EQ(1, run.status) << run.err;
        EXPECT_TRUE(Contains(run.err, BaseName(Record(index)) + ": ")) << run.err;
        EXPECT_EQ(std::vector<std::string>{}, testsupport::FolderEntries(dir));
    }
    // A view without styles refuses one before any record opens.
    const HostRun table = Host({"view", Record(0), "--view", "CViewAverageWave", "--style", "3", "--png",
                                m_out.File("ave.png")});
    EXPECT_EQ(1, table.status);
    EXPECT_EQ("morvelance-host: --style 3: CViewAverageWave takes no --style\n", table.err);
}

TEST_F(HostDrawsOrRefusesTest, ARefusalNamesTheRecordKindsTheCommandTakesWordForWord)
{
    const std::string rest = Record(0), rr = Record(3), exercise = Record(5);
    const std::string png = m_out.File("refused.png"), pdf = m_out.File("refused.pdf");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"view", rr, "--view", "CViewAverageWave", "--png", png},
         "morvelance-host: " + rr + ": CViewAverageWave needs a resting or MFER record with average beats\n"},
        {{"view", exercise, "--view", "CViewEnlargedWave", "--png", png},
         "morvelance-host: " + exercise + ": CViewEnlargedWave needs a resting, rhythm or MFER record\n"},
        {{"print", rest, "--view", "CViewRRHistogram", "--pdf", pdf},
         "morvelance-host: " + rest + ": CViewRRHistogram needs an RR record\n"},
        {{"view", rr, "--view", "CFormInterpre", "--png", png},
         "morvelance-host: " + rr + ": CFormInterpre needs a resting or MFER record of twelve or fifteen leads\n"},
        {{"dialog", rr, "--dialog", "CDlgPatientInfoComment", "--png", png},
         "morvelance-host: " + rr + ": CDlgPatientInfoComment does not take this record (it edits resting and MFER records)\n"},
        {{"dialog", rest, "--dialog", "CDlgEnlargedRhyRR", "--png", png},
         "morvelance-host: " + rest + ": CDlgEnlargedRhyRR needs a rhythm, RR, extra-lead or MFER record\n"},
        {{"print", rest, "--report", "rr-result", "--pdf", pdf},
         "morvelance-host: the rr-result report prints RR records only; this is a resting record\n"},
        {{"print", rr, "--report", "rest-interpre", "--pdf", pdf},
         "morvelance-host: the rest-interpre report prints resting and MFER records with average beats and rhythm "
         "records only; this is an RR record\n"},
    };
    for (const auto& [args, line] : cases) {
        SCOPED_TRACE(args[0] + " " + args[3]);
        const HostRun run = Host(args);
        EXPECT_EQ(1, run.status);
        EXPECT_EQ(line, run.err.substr(0, run.err.find('\n') + 1));
        EXPECT_FALSE(Exists(png));
        EXPECT_FALSE(Exists(pdf));
    }
}

TEST_F(HostDrawsOrRefusesTest, AViewNamedRefusesTheOptionsItDoesNotApply)
{
    const std::string rest = Record(0), rr = Record(3);
    const std::string png = m_out.File("option.png"), pdf = m_out.File("option.pdf");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"view", rest, "--view", "sheet", "--lead", "1", "--png", png}, "view sheet takes no --lead"},
        {{"view", rest, "--view", "CViewAverageWave", "--page", "2", "--png", png}, "view CViewAverageWave takes no --page"},
        {{"view", rest, "--view", "CViewAverageWave", "--half", "--png", png}, "view CViewAverageWave takes no --half"},
        {{"view", rest, "--view", "CViewAverageWave", "--cal-count", "2", "--png", png},
         "view CViewAverageWave takes no --cal-count"},
        {{"print", rest, "--view", "CViewRhythmWave", "--dividers", "1", "--pdf", pdf},
         "print CViewRhythmWave takes no --dividers"},
        // A double-click at the left edge is a double-click too.
        {{"print", Record(2), "--view", "CViewRhythmWave", "--double-click", "0,5", "--pdf", pdf},
         "print CViewRhythmWave takes no --double-click"},
        {{"view", rr, "--view", "CViewRRHistogram", "--page", "2", "--png", png}, "view CViewRRHistogram takes no --page"},
        // The exercise views: the trend takes the styles, the averaged beats the layouts.
        {{"view", Record(5), "--view", "CViewMemoryWave", "--style", "3", "--png", png}, "CViewMemoryWave takes no --style"},
        {{"view", Record(5), "--view", "CViewExerTrend", "--mode", "2", "--png", png}, "CViewExerTrend takes no --mode"},
    };
    for (const auto& [args, said] : cases) {
        SCOPED_TRACE(said);
        const HostRun run = Host(args);
        EXPECT_EQ(1, run.status);
        EXPECT_TRUE(Contains(run.err, said)) << run.err;
        EXPECT_FALSE(Exists(png));
        EXPECT_FALSE(Exists(pdf));
    }
    // Where they apply they are drawn: the interval list's page, the calibration column's two pulses. (The
    // sample's list fits one page: its second, once drawn as the first again, is past its end.)
    EXPECT_EQ(0, Host({"view", rr, "--view", "CViewRRIntervalList", "--page", "1", "--size", kSize, "--png", png}).status);
    EXPECT_EQ(0, Host({"view", rest, "--view", "CViewCAL", "--cal-count", "2", "--size", kSize, "--png", png}).status);
}

TEST_F(HostDrawsOrRefusesTest, EveryNumberOptionOfEveryCommandRefusesAValueThatIsNoNumber)
{
    // Every number option of every command, with the command line it is
    // read on and a value it takes. The runs name a record that is not
    // there: a value refused ends 2 before any record is looked for, a
    // value taken goes on to the record (or the display), which ends 1.
    struct NumberOption {
        std::vector<std::string> command;
        std::string option;
        std::string taken;
    };
    const std::string png = m_out.File("n.png"), pdf = m_out.File("n.pdf");
    const std::vector<std::string> rhythm = {"view", "--view", "CViewRhythmWave", "--png", png};
    const std::vector<std::string> exercise = {"view", "--view", "CViewExerAverage3D", "--png", png};
    const std::vector<std::string> masterStep = {"view", "--view", "CViewFinalEnlargeWave", "--png", png};
    const std::vector<std::string> enlarged = {"view", "--view", "CViewEnlargedWave", "--png", png};
    const std::vector<std::string> divider = {"view", "--view", "CViewDividerWave", "--png", png};
    const std::vector<std::string> serial = {"view", "--view", "CViewSerialComAve", "--png", png};
    const std::vector<std::string> dialog = {"dialog", "--dialog", "CDlgEnlargedWave", "--png", png};
    const std::vector<std::string> pane = {"pane", "--pane", "CWndExerMemory", "--png", png};
    const std::vector<NumberOption> options = {
        {rhythm, "--style", "3"}, {rhythm, "--page", "2"}, {rhythm, "--smooth", "0"}, {rhythm, "--mode", "1"},
        {rhythm, "--lead", "0"},
        {{"view", "--view", "CViewCAL", "--png", png}, "--cal-count", "2"},
        {{"print", "--report", "rest-wave", "--pdf", pdf}, "--style", "1"},
        {{"view", "--view", "CViewExerTrend", "--png", png}, "--style", "18"},
        {{"view", "--view", "CViewExerAverage", "--png", png}, "--mode", "3"},
        {exercise, "--lead", "11"}, {exercise, "--time", "0"}, {exercise, "--parent", "3"},
        {masterStep, "--page", "0"}, {masterStep, "--lead", "0"}, {masterStep, "--load", "-2"},
        {masterStep, "--zoom", "-1"},
        {enlarged, "--lead", "14"}, {enlarged, "--center", "0"}, {divider, "--lead", "1"}, {divider, "--start", "0"},
        {{"view", "--view", "CViewQRSNo", "--png", png}, "--first", "0"},
        {serial, "--style", "13"}, {serial, "--page-style", "41"},
        {{"view", "--view", "CFormInterpre", "--png", png}, "--page-style", "1"},
        {dialog, "--lead", "0"}, {dialog, "--zoom", "-1"},
        {{"dialog", "--dialog", "CDlgExerLeadSelection", "--png", png}, "--template", "174"},
        {{"dialog", "--dialog", "CDlgPatientInfoComment", "--png", png}, "--page", "0"},
        {pane, "--style", "1"}, {pane, "--ms", "3600000"},
        {{"show", "--pane", "CWndExerMemory"}, "--style", "1"},
    };
    const std::string absent = m_out.File("absent.ecg");
    for (const NumberOption& number : options) {
        for (const std::string& value : {std::string("(none)"), std::string("--size"), std::string(""),
                                         std::string("x"), std::string("1x"), number.taken}) {
            std::vector<std::string> args = {number.command[0], absent};
            args.insert(args.end(), number.command.begin() + 1, number.command.end());
            args.push_back(number.option);
            if (value != "(none)") args.push_back(value);
            SCOPED_TRACE(args[0] + " " + args[3] + " " + number.option + " '" + value + "'");
            const HostRun run = Host(args);
            const bool refused = Contains(run.err, "morvelance-host: " + number.option + " ");
            EXPECT_EQ(value == number.taken ? 1 : 2, run.status) << run.err;
            EXPECT_EQ(value != number.taken, refused) << run.err;
            EXPECT_FALSE(Exists(png) || Exists(pdf));
        }
    }
    // A flag last among the options takes no value.
    const HostRun relative = Host({"view", absent, "--view", "CViewExerAverage3D", "--png", png, "--relative"});
    EXPECT_EQ(1, relative.status) << relative.err;
    // The bound of the clock's move is taken, and the pane drawn after it.
    const HostRun hour = Host({"pane", Record(5), "--pane", "CWndExerMemory", "--size", "320x180", "--png", png,
                               "--ms", "3600000"});
    EXPECT_EQ(0, hour.status) << hour.err;
    EXPECT_TRUE(Exists(png));
}

TEST_F(HostDrawsOrRefusesTest, TheProtocolSummaryPrintsTheStepAndTripProtocolOnly)
{
    REQUIRE_SHARED_DATA(ptb, "physionet/ptb/s0010_re.hea");
    const std::string dir = m_out.File("ptb");
    MakeRecords({"examinations", dir, "--ptb", ptb.substr(0, ptb.size() - 4)});
    // Code 244 carries no step-and-trip line: its page would print without a word.
    const std::string other = m_out.File("protocol-244.pdf"), stepAndTrip = m_out.File("protocol-243.pdf");
    const HostRun refused =
        Host({"print", dir + "/mstep244.ecg", "--view", "CViewSummaryProtocol", "--pdf", other});
    EXPECT_EQ(1, refused.status);
    EXPECT_TRUE(Contains(refused.err, "mstep244.ecg: CViewSummaryProtocol prints the step-and-trip protocol"))
        << refused.err;
    EXPECT_FALSE(Exists(other));
    const HostRun printed = Host({"print", dir + "/mstep243.ecg", "--view", "CViewSummaryProtocol", "--pdf", stepAndTrip});
    EXPECT_EQ(0, printed.status) << printed.err;
    EXPECT_TRUE(Exists(stepAndTrip));
    // On the screen the maximum ST depression shows for every protocol.
    EXPECT_EQ(0, Host({"view", dir + "/mstep244.ecg", "--view", "CViewSummaryProtocol", "--png", m_out.File("p.png")}).status);
}

TEST_F(HostDrawsOrRefusesTest, EveryCommandThatWouldDoNothingEndsNonZeroSayingWhyAndWritesNothing)
{
    // Each way a command of the host can be asked for something it would not
    // do: a value a control does not take, a group, page, beat, load or time
    // the record does not have, an option the class named leaves out, an
    // output the command does not write. Each ends 1 (2 for a command line
    // that is no command), says why, writes nothing and saves nothing.
    struct Refusal {
        std::vector<std::string> args;   // "OUT/" stands for the run's own folder
        int status;
        std::string said;
    };
    const std::string rest = Record(0), mstep = Record(1), rhythm = Record(2), rr = Record(3), extra = Record(4),
                      exercise = Record(5), rest15 = s_dir->File("samples/rest15_90.ecg");
    const std::vector<Refusal> refusals = {
        // The read-only lists of the forms: a person picks their entries, and a
        // typed text was saved as nothing while the command ended 0.
        {{"view", rest, "--view", "CFormPatientInfo", "--type", "3009=女", "--save", "--png", "OUT/f.png"}, 1,
         "no editable control 3009: it is a read-only list"},
        {{"view", rest, "--view", "CFormPatientInfo", "--type", "3012=ヶ月", "--save", "--png", "OUT/f.png"}, 1,
         "no editable control 3012: it is a read-only list"},
        {{"view", rest, "--view", "CFormInterpre", "--type", "3096=正常", "--save", "--png", "OUT/f.png"}, 1,
         "no editable control 3096: it is a read-only list"},
        {{"view", rest, "--view", "CFormPatientInfo", "--type", "9999=x", "--save", "--png", "OUT/f.png"}, 1,
         "no editable control 9999: it is not there"},
        {{"view", rest, "--view", "CFormPatientInfo", "--page-style", "36", "--png", "OUT/f.png"}, 1,
         "view CFormPatientInfo takes no --page-style"},
        {{"view", rest, "--view", "CFormInterpre", "--page-style", "99", "--png", "OUT/f.png"}, 1,
         "--page-style 99: CFormInterpre is shown in page styles 35 to 37 of a resting record"},
        // A strip's texts take no click: the pane would be drawn as if pressed.
        {{"pane", exercise, "--pane", "CWndExerMemory", "--click", "4178", "--png", "OUT/p.png"}, 1,
         "control 4178 is a static text: a click there does nothing; nothing is written"},
        {{"pane", exercise, "--pane", "CWndExerMemory", "--click", "3498,4181", "--png", "OUT/p.png"}, 1,
         "control 4181 is a static text: a click there does nothing; nothing is written"},
        // One short of the rest form's first page style and one past its last.
        {{"view", rest, "--view", "CFormInterpre", "--page-style", "0", "--png", "OUT/f.png"}, 1,
         "--page-style 0: CFormInterpre is shown in page styles 35 to 37 of a resting record"},
        {{"view", rest, "--view", "CFormInterpre", "--page-style", "34", "--png", "OUT/f.png"}, 1,
         "--page-style 34: CFormInterpre is shown in page styles 35 to 37 of a resting record"},
        {{"view", rest, "--view", "CFormInterpre", "--page-style", "38", "--png", "OUT/f.png"}, 1,
         "--page-style 38: CFormInterpre is shown in page styles 35 to 37 of a resting record"},
        // The sheets and dialogs.
        {{"dialog", rest, "--dialog", "CDlgPatientInfoComment", "--page", "0", "--set", "3212=X", "--ok", "高橋"}, 1,
         "CDlgPatientInfoComment: field 3212 is a drop-down list without 'X' (it holds '不明', '男', '女')"},
        {{"dialog", rest, "--dialog", "CDlgEditIvrelCode", "--group", "1", "--png", "OUT/d.png"}, 1,
         "CDlgEditIvrelCode: no group '1' in its code tree"},
        {{"dialog", rest, "--dialog", "CDlgEditMinneCode", "--group", "99", "--png", "OUT/d.png"}, 1,
         "CDlgEditMinneCode: no group '99' in its code tree"},
        {{"dialog", rest, "--dialog", "CDlgEditor", "--group", "1", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEditor takes no --group"},
        {{"dialog", rest, "--dialog", "CDlgEditor", "--template", "173", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEditor takes no --template"},
        {{"dialog", rest, "--dialog", "CDlgDoctor", "--page", "1", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgDoctor takes no --page"},
        {{"dialog", rest, "--dialog", "CDlgEditor", "--set", "3001=x", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEditor takes no --set"},
        {{"dialog", rest, "--dialog", "CDlgEditComment", "--ok", "高橋"}, 1, "dialog --dialog CDlgEditComment takes no --ok"},
        {{"dialog", rest, "--dialog", "CDlgEditor", "--zoom", "1", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEditor takes no --zoom"},
        {{"dialog", rest, "--dialog", "CDlgDivider", "--ruler", "10,20", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgDivider takes no --ruler"},
        {{"dialog", rest, "--dialog", "CDlgEnlargedWave", "--with", rest15, "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEnlargedWave takes no --with"},
        {{"dialog", rest, "--dialog", "CDlgEditMinneCode", "--lead", "1", "--png", "OUT/d.png"}, 1,
         "dialog --dialog CDlgEditMinneCode takes no --lead"},
        {{"dialog", rest, "--dialog", "all", "--png", "OUT/d.png", "--out", "OUT/all"}, 1,
         "dialog --dialog all takes no --png"},
        {{"dialog", rest, "--dialog", "CDlgEditor", "--png", "OUT/d.png", "--out", "OUT/all"}, 1,
         "dialog --dialog CDlgEditor takes no --out"},
        {{"dialog", rhythm, "--dialog", "CDlgInfoCommentGeneral", "--page", "2", "--png", "OUT/d.png"}, 2,
         "--page takes a sheet's page: 0 or 1 for CDlgInfoCommentGeneral"},
        {{"dialog", rest, "--dialog", "CDlgPatientInfoComment", "--set", "id=X", "--ok", "高橋"}, 2,
         "--set takes ID=TEXT"},
        // The pages.
        {{"pane", rest, "--pane", "CWndRestSerialComAve", "--no-patient", "--png", "OUT/p.png"}, 1,
         "pane --pane CWndRestSerialComAve takes no --no-patient"},
        {{"pane", rest, "--pane", "all", "--png", "OUT/p.png", "--out", "OUT/all"}, 1, "pane --pane all takes no --png"},
        {{"pane", rest, "--pane", "CWndRestRhythmWave", "--png", "OUT/p.png", "--out", "OUT/all"}, 1,
         "pane --pane CWndRestRhythmWave takes no --out"},
        // The views: their outputs, and what each applies.
        {{"view", rest, "--view", "CViewRhythmWave", "--ratio", "2", "--png", "OUT/v.png"}, 2,
         "view --view CViewRhythmWave takes no --ratio"},
        {{"view", rest, "--view", "CViewRhythmWave", "--out", "OUT/all", "--png", "OUT/v.png"}, 2,
         "view --view CViewRhythmWave takes no --out"},
        {{"view", rest, "--view", "CViewRhythmWave", "--pdf", "OUT/v.pdf", "--png", "OUT/v.png"}, 2,
         "view --view CViewRhythmWave takes no --pdf"},
        {{"print", rest, "--view", "CViewRhythmWave", "--size", "320x200", "--pdf", "OUT/v.pdf"}, 2,
         "print --view CViewRhythmWave takes no --size"},
        {{"print", rest, "--view", "CViewRhythmWave", "--mode", "2", "--pdf", "OUT/v.pdf"}, 2,
         "print --view CViewRhythmWave takes no --mode"},
        {{"print", rest, "--view", "CViewRhythmWave", "--pdf", "OUT/v.pdf", "--printer", "nowhere"}, 2,
         "print writes --pdf OUT.pdf or prints to --printer QUEUE, not both"},
        {{"view", rr, "--view", "CViewRRIntervalList", "--page", "2", "--png", "OUT/v.png"}, 1,
         "--page 2 is past the record's end (1 page)"},
        {{"print", rr, "--view", "CViewRRIntervalList", "--page", "2", "--pdf", "OUT/v.pdf"}, 1,
         "--page 2 is past the record's end (1 page)"},
        {{"view", exercise, "--view", "CViewExerAverage", "--lead", "3", "--png", "OUT/v.png"}, 1,
         "view --view CViewExerAverage takes no --lead"},
        {{"view", exercise, "--view", "CViewMemoryWave", "--parent", "2", "--png", "OUT/v.png"}, 1,
         "view --view CViewMemoryWave takes no --parent"},
        {{"view", exercise, "--view", "CViewExerTrend", "--rotate", "0.5", "--png", "OUT/v.png"}, 1,
         "view --view CViewExerTrend takes no --rotate"},
        {{"view", exercise, "--view", "CViewExerAverage", "--relative", "--png", "OUT/v.png"}, 1,
         "view --view CViewExerAverage takes no --relative"},
        {{"view", exercise, "--view", "CViewExerAverage", "--time", "999999", "--png", "OUT/v.png"}, 1,
         "--time 999999 is past the record's end"},
        {{"view", mstep, "--view", "CViewFinalCom12Leads", "--page", "99", "--png", "OUT/v.png"}, 1,
         "--page 99 is past the comparison's last page"},
        {{"print", mstep, "--view", "CViewFinalCom12Leads", "--page", "99", "--pdf", "OUT/v.pdf"}, 1,
         "--page 99 is past the comparison's last page"},
        {{"view", mstep, "--view", "CViewFinalEnlargeWave", "--load", "99", "--png", "OUT/v.png"}, 1,
         "--load 99: the record has post-load beats 0 to"},
        {{"view", mstep, "--view", "CViewFinalCom1Lead", "--zoom", "1", "--png", "OUT/v.png"}, 1,
         "view --view CViewFinalCom1Lead takes no --zoom"},
        {{"view", mstep, "--view", "CViewHRTrend", "--follow", "--png", "OUT/v.png"}, 1,
         "view --view CViewHRTrend takes no --follow"},
        {{"view", mstep, "--view", "CViewSTTrend", "--page", "1", "--png", "OUT/v.png"}, 1,
         "view --view CViewSTTrend takes no --page"},
        {{"view", rest, "--view", "CViewDetailedMeas", "--first", "3", "--png", "OUT/v.png"}, 1,
         "view --view CViewDetailedMeas takes no --first"},
        {{"print", rest, "--view", "CViewQRSNo", "--first", "3", "--pdf", "OUT/v.pdf"}, 1,
         "print --view CViewQRSNo takes no --first"},
        {{"view", rest, "--view", "CViewQRSNo", "--first", "9999", "--png", "OUT/v.png"}, 1,
         "--first 9999: the table's window of 6 beats begins at beat"},
        {{"view", rest, "--view", "CViewEnlargedOverlap", "--center", "100", "--png", "OUT/v.png"}, 1,
         "view --view CViewEnlargedOverlap takes no --center"},
        {{"view", rest, "--view", "CViewEnlargedOverlap", "--average", "--png", "OUT/v.png"}, 1,
         "view --view CViewEnlargedOverlap takes no --average"},
        {{"view", rest, "--view", "CViewEnlargedWave", "--center", "99999999", "--png", "OUT/v.png"}, 1,
         "--center 99999999 is past the record's end"},
        {{"view", rest, "--view", "CViewDividerWave", "--start", "99999999", "--png", "OUT/v.png"}, 1,
         "--start 99999999 is past the record's end"},
        {{"view", rest, rest15, "--view", "CViewSerialComRhy", "--overlap", "--png", "OUT/v.png"}, 1,
         "view --view CViewSerialComRhy takes no --overlap"},
        {{"view", rest, "--view", "CViewScroll1LeadWave", "--page-style", "42", "--png", "OUT/v.png"}, 1,
         "view --view CViewScroll1LeadWave takes no --page-style"},
        {{"view", rest, rest15, "--view", "CViewSerialComAve", "--drag-strip", "1,5", "--png", "OUT/v.png"}, 1,
         "view --view CViewSerialComAve takes no --drag-strip"},
        {{"view", rest, "--view", "CViewSerialComAve", "--page-style", "1", "--png", "OUT/v.png"}, 1,
         "--page-style 1: CViewSerialComAve takes page styles 41 to 43 for resting records"},
        {{"view", rest, "--view", "CViewScroll1LeadWave", "--pdf", "OUT/v.pdf"}, 1,
         "view --view CViewScroll1LeadWave takes no --pdf"},
        {{"print", rest, rest15, "--view", "CViewSerialComRhy", "--chest", "--pdf", "OUT/v.pdf"}, 1,
         "print CViewSerialComRhy takes no --chest"},
        // The reports.
        {{"print", extra, "--report", "extra-wave", "--anno", "--pdf", "OUT/r.pdf"}, 1,
         "the extra-wave report takes no --anno: it has no annotated form"},
        {{"print", rr, "--report", "rr-result", "--anno", "--pdf", "OUT/r.pdf"}, 1,
         "the rr-result report takes no --anno: it has no annotated form"},
        {{"print", rest, "--report", "rest-interpre", "--strip", "--pdf", "OUT/r.pdf"}, 1,
         "the rest-interpre report takes no --strip"},
        {{"print", rest, rest15, "--report", "serial-ave-mix", "--strip", "--pdf", "OUT/r.pdf"}, 1,
         "the serial-ave-mix report takes no --strip"},
        {{"print", rest, "--report", "rest-wave", "--pdf", "OUT/r.pdf", "--pcl"}, 2,
         "print --report writes one of --pdf OUT.pdf, --pcl, --lips"},
    };
    std::map<std::string, std::string> stored;   // the records' XMLs, which no refusal may change
    for (const std::string& folder : {s_dir->File("samples"), s_dir->File("ex")})
        for (const std::string& file : testsupport::FolderEntries(folder))
            if (file.size() > 4 && file.compare(file.size() - 4, 4, ".xml") == 0)
                stored[folder + "/" + file] = testsupport::ReadFileBytes(folder + "/" + file);
    // Four runs at a time, each into a folder of its own.
    const size_t kParallel = 4;
    for (size_t first = 0; first < refusals.size(); first += kParallel) {
        std::vector<std::future<HostRun>> runs;
        for (size_t i = first; i < std::min(first + kParallel, refusals.size()); ++i) {
            std::vector<std::string> args = refusals[i].args;
            for (std::string& arg : args)
                if (arg.rfind("OUT/", 0) == 0) arg = m_out.File("run" + std::to_string(i) + arg.substr(3));
            runs.push_back(std::async(std::launch::async, [args] { return Host(args); }));
        }
        for (size_t i = first; i < first + runs.size(); ++i) {
            const Refusal& refusal = refusals[i];
            std::string line;
            for (const std::string& arg : refusal.args) line += " " + arg;
            SCOPED_TRACE(line);
            const HostRun run = runs[i - first].get();
            EXPECT_EQ(refusal.status, run.status) << run.err;
            EXPECT_TRUE(Contains(run.err, refusal.said)) << run.err;
            EXPECT_EQ(std::vector<std::string>{}, FilesUnder(m_out.File("run" + std::to_string(i))));
            EXPECT_EQ("", run.out);
        }
    }
    for (const auto& [xml, bytes] : stored) EXPECT_EQ(bytes, testsupport::ReadFileBytes(xml)) << xml;
}

// The divider view starts at any sample of the lead, its last included,
// and refuses the one just past it rather than drawing the last stretch.
TEST_F(HostDrawsOrRefusesTest, TheDividerViewStartsAtTheLeadsLastSampleAndRefusesTheOneAfterIt)
{
    const std::string rest = Record(0);
    const HostRun far = Host({"view", rest, "--view", "CViewDividerWave", "--start", "99999999", "--png",
                              m_out.File("far.png")});
    std::smatch last;
    ASSERT_TRUE(std::regex_search(far.err, last, std::regex("has samples 0 to (\\d+)"))) << far.err;
    const std::string lastSample = last[1];
    const std::string pastIt = std::to_string(std::stoi(lastSample) + 1);
    const HostRun atLast = Host({"view", rest, "--view", "CViewDividerWave", "--start", lastSample, "--png",
                                 m_out.File("last.png")});
    EXPECT_EQ(0, atLast.status) << atLast.err;
    EXPECT_TRUE(Exists(m_out.File("last.png")));
    const HostRun past = Host({"view", rest, "--view", "CViewDividerWave", "--start", pastIt, "--png",
                               m_out.File("past.png")});
    EXPECT_EQ(1, past.status);
    EXPECT_NE(past.err.find("--start " + pastIt + " is past the record's end"), std::string::npos) << past.err;
    EXPECT_FALSE(Exists(m_out.File("past.png")));
}

TEST_F(HostDrawsOrRefusesTest, TheInterpretationPageOfARecordWithoutAverageBeatsLeavesTheirColumnOutWithANote)
{
    // A rhythm record's interpretation page holds its comment form where a
    // resting record's has the interpretation; it has no average beats, and
    // its page, shown or printed, leaves their column out rather than draw
    // empty frames beside the form. The resting record's page draws them.
    const std::string rest = Record(0), rhythm = Record(2);
    const std::string note = "is printed without CViewAverageWave, which needs a resting or MFER record with average beats";
    for (const std::string& record : {rest, rhythm}) {
        SCOPED_TRACE(record);
        const bool beats = record == rest;
        const std::string png = m_out.File(BaseName(record) + "-interpretation.png");
        const HostRun shown = Host({"pane", record, "--pane", "CWndRestInterpretation", "--size", "1024x600", "--png", png});
        ASSERT_EQ(0, shown.status) << shown.err;
        EXPECT_EQ(!beats, Contains(shown.err, "note: CWndRestInterpretation is shown without CViewAverageWave, which "
                                              "needs a resting or MFER record with average beats"))
            << shown.err;
        // Right of the form, between the caption strip and the rhythm strip.
        const PngImage page(png);
        ASSERT_TRUE(page.Ok());
        const int column = InkIn(page, {0.52, 0.12, 0.98, 0.76, 0}, false);
        if (beats)
            EXPECT_GT(column, 1000);
        else
            EXPECT_EQ(0, column);
        if (!HavePoppler()) continue;
        const std::string pdf = m_out.File(BaseName(record) + "-interpretation.pdf");
        const HostRun printed = Host({"print", record, "--report", "rest-interpre", "--pdf", pdf});
        ASSERT_EQ(0, printed.status) << printed.err;
        EXPECT_EQ(!beats, Contains(printed.err, "note: the rest-interpre report " + note)) << printed.err;
        // The right half of the page, below the title and the rhythm record's patient block and above the
        // version line.
        const int paper = PageInk(pdf, {0.52, 0.16, 0.98, 0.9, 0});
        if (beats)
            EXPECT_GT(paper, 100);
        else
            EXPECT_EQ(0, paper);
    }
}
