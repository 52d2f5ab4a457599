#include "host/RecordKinds.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "analysisviews/ViewExerTrend.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/ExerViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "host/CommandFailure.h"
#include "host/PaneKinds.h"
#include "platform/mfer/MFERParser.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/FrameWnd.h"

namespace host {
namespace {

constexpr unsigned Kind(int type)
{
    return 1u << type;
}

const unsigned kRest = Kind(DOC_TYPE_REST);
const unsigned kFinal = Kind(DOC_TYPE_FINAL);
const unsigned kRhythm = Kind(DOC_TYPE_RHYTHM);
const unsigned kRR = Kind(DOC_TYPE_RR);
const unsigned kExtra = Kind(DOC_TYPE_EXTRA);
const unsigned kExer = Kind(DOC_TYPE_EXER);
const unsigned kMfer = Kind(DOC_TYPE_MFER);
const unsigned kEveryKind = kRest | kFinal | kRhythm | kRR | kExtra | kExer | kMfer;
// The records whose leads run as strips: every kind but the beat-and-trend
// records of the master-step and exercise tests.
const unsigned kStrips = kRest | kRhythm | kRR | kExtra | kMfer;

// What a picture is made of within the records of its kinds.
enum class Within {
    Anything,
    AverageBeats,   // the record keeps average beats
    StandardLeads,  // an MFER file of twelve or fifteen leads (every resting record is)
    BeatsOrComment, // average beats, or a rhythm record, whose page prints its comment in their place
    RRIntervals,    // the device's RR intervals, which come with the record XML
    RRAnalysis,     // the device's RR analysis (its totals or intervals), the same
    MasterStepSummary,   // the master-step summary (trend, protocol), the same
    // The master-step comparisons of the rest and post-load beats: the beats
    // are the record file's, but their windows, ST levels and rates, and
    // which comparisons there are, come with the record XML.
    MasterStepComparison,
    MetsHrLine,          // the exercise's METs-HR line, fitted to the stages the record XML holds
    ResultTable,         // the exercise's result table, computed from that line
    ExerciseSummary,     // the exercise's three ST leads and their levels, rates and times, the record XML's
};

// Whether the record's lack of a picture's makings is the lack of its record
// XML (or of what the record XML holds), which the refusal then says.
bool FromTheRecordXml(Within within)
{
    switch (within) {
    case Within::RRIntervals:
    case Within::RRAnalysis:
    case Within::MasterStepSummary:
    case Within::MasterStepComparison:
    case Within::MetsHrLine:
    case Within::ResultTable:
    case Within::ExerciseSummary: return true;
    default: return false;
    }
}

const char kInItsDialog[] = "is shown in its dialog and does not print";
const char kNoFormPrint[] = "has no print of its own: the record's report prints the interpretation";
const char kUnderTheMouse[] =
    "shows what lies under the mouse over a view: view FILE --view CLASS --magnify X,Y --magnifier-png M.png";

struct Drawing {
    const char* name;
    unsigned kinds;                     // the records it takes, a bit per _DOC_TYPE
    Within within = Within::Anything;
    const char* notShown = nullptr;     // why the view and dialog commands do not draw it by itself
    const char* notPrinted = nullptr;   // why the print command does not
    const char* refusal = nullptr;      // the refusal's own words, where the host has long said them
};

// The drawings that do not take every record, and those drawn only in
// another picture or only on one of screen and paper. The sheet (which
// refuses a document that shows no lead by itself), the calibration column,
// the patient strip, the serial reports (which decide by the whole series),
// the editors, prompts and lead-name editors take every record.
const Drawing kDrawings[] = {
    // The multi-lead view and the strips of its pages.
    {"CViewRhythmWave", kStrips},
    {"CViewScroll1LeadWave", kRest | kRhythm | kExtra | kMfer},
    {"CViewScroll1LeadRhyWave", kRest | kMfer, Within::Anything, "is drawn under CViewSerialComRhy, which shows it"},
    // The serial comparisons compare resting and MFER records (the series
    // then leaves out the MFER files of other lead counts, and says so).
    {"CViewSerialComRhy", kRest | kMfer},
    {"CViewSerialComAve", kRest | kMfer},
    // The averaged beats and the resting tables.
    {"CViewAverageWave", kRest | kMfer, Within::AverageBeats},
    {"CViewAveOverlappedWave", kRest | kMfer, Within::AverageBeats},
    {"CViewDetailedMeas", kRest},
    {"CViewQRSNo", kRest},
    {"CViewQRSType", kRest},
    // The RR result and comment pages.
    {"CViewRRResult", kRR, Within::RRAnalysis},
    {"CViewRRHistogram", kRR, Within::RRIntervals},
    {"CViewRRTrend", kRR, Within::RRIntervals},
    {"CViewRRIntervalList", kRR, Within::RRIntervals},
    // The master-step and exercise pages.
    {"CViewFinalCom12Leads", kFinal, Within::MasterStepComparison},
    {"CViewFinalCom1Lead", kFinal, Within::MasterStepComparison},
    {"CViewFinalEnlargeWave", kFinal, Within::MasterStepComparison, nullptr, kInItsDialog},
    {"CViewHRTrend", kFinal, Within::MasterStepSummary},
    {"CViewSTTrend", kFinal, Within::MasterStepSummary},
    {"CViewSummaryProtocol", kFinal, Within::MasterStepSummary},
    {"CViewExerAverage", kExer},
    {"CViewExerSummaryAverage", kExer, Within::ExerciseSummary},
    {"CViewMemoryWave", kExer},
    {"CViewExerTrend", kExer},
    {"CViewResultTable", kExer, Within::ResultTable},
    {"CViewExerAverage3D", kExer, Within::Anything, nullptr, "does not print"},
    // The one-lead views of the enlarged and caliper dialogs, shown in them.
    {"CViewEnlargedWave", kRest | kRhythm | kMfer, Within::Anything, nullptr, kInItsDialog},
    {"CViewEnlargedOverlap", kRest | kMfer, Within::AverageBeats, nullptr, kInItsDialog},
    {"CViewDividerWave", kRest | kRhythm | kExtra | kMfer, Within::Anything, nullptr, kInItsDialog},
    {"CViewEnlargedPreview", kEveryKind, Within::Anything, kUnderTheMouse, kUnderTheMouse},
    // The forms, each on the records its pages show it for.
    // The resting forms lay out twelve or fifteen leads' measurements; on an
    // MFER file of other leads their layout hides every field.
    {"CFormInterpre", kRest | kMfer, Within::StandardLeads},
    {"CFormInterpreAme", kRest | kMfer, Within::StandardLeads, nullptr, kNoFormPrint},
    {"CFormInterpreExer", kExer, Within::Anything, nullptr, kNoFormPrint},
    {"CFormInterpreMsfr", kFinal, Within::Anything, nullptr, kNoFormPrint},
    {"CFormInterpreRhyRR", kRhythm | kRR | kExtra | kMfer, Within::Anything, nullptr, kNoFormPrint},
    // The dialogs opened from a page.
    {"CDlgEnlargedWave", kRest | kRhythm | kMfer},
    // The overlap compares average beats: a record without them would be
    // an empty grid passed off as a comparison.
    {"CDlgEnlargedOverlap", kRest | kMfer, Within::AverageBeats},
    {"CDlgEnlargedRhyRR", kRhythm | kRR | kExtra | kMfer},
    {"CDlgFinalRestEnlarge", kFinal, Within::MasterStepComparison},
    {"CDlgFinalLoadEnlarge", kFinal, Within::MasterStepComparison},
    // The caliper strip opens from a one-lead strip, which an RR record's
    // pages do not have (theirs open the rhythm rows' dialog).
    {"CDlgDivider", kRest | kRhythm | kExtra | kMfer},
    {"CDlgEnlargedPreview", kEveryKind, Within::Anything, kUnderTheMouse},
    {"CDlgExerLeadSelection", kExer},
    {"CDlgPatientInfoComment", kRest | kMfer, Within::Anything, nullptr, nullptr,
     "does not take this record (it edits resting and MFER records)"},
    {"CDlgInfoCommentGeneral", kEveryKind & ~kRest, Within::Anything, nullptr, nullptr,
     "does not take this record (resting records have CDlgPatientInfoComment)"},
    // The reports: the wave pages are drawn from the multi-lead view, the
    // interpretation page from the average beats and strip of the pages that
    // show it (a record without beats printed measurements of "****" over an
    // empty grid), the others from their own kinds' pages.
    {"rest-wave", kStrips},
    {"rest-ame", kStrips},
    {"rest-interpre", kRest | kRhythm | kMfer, Within::BeatsOrComment},
    {"rhythm-wave", kStrips},
    {"rr-wave", kStrips},
    {"rhythm-comment", kRhythm | kMfer},
    {"rr-result", kRR, Within::RRAnalysis},
    {"rr-list", kRR, Within::RRIntervals},
    {"extra-wave", kExtra | kMfer},
    {"extra-comment", kExtra | kMfer},
};

// The trend styles made of what only some records hold.
struct TrendStyle {
    int style;
    Within within;
};
const TrendStyle kTrendStyles[] = {{7, Within::MetsHrLine}};
const char kTrendView[] = "CViewExerTrend";
const char kAverageView[] = "CViewAverageWave";

// What each page is made of, where the page is made for its pictures (a
// result page): a page none of whose pictures draws the record is refused
// as they are. The patient strip and the calibration column are on every
// page, and a page made for the person's comment or interpretation (the
// comment pages, the master-step summary with its interpretation form) has
// that form to show: those pages are not listed. The interpretation page is
// the one the rest-interpre report prints.
struct PagePictures {
    const char* pane;
    std::vector<std::pair<const char*, int>> pictures;   // drawing name and trend style (0: none)
};
const PagePictures kPagePictures[] = {
    {"CWndRRResult", {{"CViewRRResult", 0}, {"CViewRRHistogram", 0}, {"CViewRRTrend", 0}}},
    {"CWndFinalWaveCom", {{"CViewFinalCom12Leads", 0}}},
    {"CWndFinalSTTrend", {{"CViewSTTrend", 0}}},
    {"CWndExerResult", {{"CViewResultTable", 0}, {kTrendView, 7}}},
    {"CWndRestInterpretation", {{"rest-interpre", 0}}},
};

const Drawing* Find(const std::string& name)
{
    for (const Drawing& drawing : kDrawings)
        if (name == drawing.name) return &drawing;
    return nullptr;
}

const PaneKind* FindPane(const std::string& name)
{
    for (const PaneKind& kind : AllPaneKinds())
        if (name == kind.name) return &kind;
    return nullptr;
}

bool HoldsWhatItShows(const Drawing& drawing, CTavrionDoc& doc)
{
    switch (drawing.within) {
    case Within::Anything: return true;
    case Within::AverageBeats: return AverageBeatSamples(doc, 0) > 0;
    case Within::BeatsOrComment: return doc.GetDocType() == DOC_TYPE_RHYTHM || AverageBeatSamples(doc, 0) > 0;
    case Within::StandardLeads: {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc);
        const _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        return !mfer || (item && CMFERViewDoc::IsFullLeadKind(item->uSystemCode));
    }
    case Within::RRIntervals: {
        auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, &doc);
        const _RRDATAITEM* item = rr ? rr->GetCurrentDataItem() : nullptr;
        return item && item->pRRList && item->nRRListCount > 0;
    }
    case Within::RRAnalysis: {
        auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, &doc);
        const _RRDATAITEM* item = rr ? rr->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        for (const CString& total : item->strRRTotal)
            if (!total.IsEmpty()) return true;
        return item->pRRList && item->nRRListCount > 0;
    }
    case Within::MasterStepSummary: {
        auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &doc);
        const _FINALDATAITEM* item = final ? final->GetCurrentDataItem() : nullptr;
        return item && ((item->stWaveInfo.sTrendCount > 0 && item->stWaveInfo.pHeartRate) ||
                        !item->stWaveInfo.strLoadTime.IsEmpty());
    }
    case Within::MasterStepComparison: {
        // A rest window the views can cut from the beat, or a post-load comparison.
        auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &doc);
        const _FINALDATAITEM* item = final ? final->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        int start = item->nRestStart, end = item->nRestEnd;
        return CFinalViewDoc::AdjustWaveDataStartEnd(start, end) != 0 || (item->pLoadInfo && item->nLoadCount > 0);
    }
    case Within::MetsHrLine: {
        auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, &doc);
        const _EXERDATAITEM* item = exer ? exer->GetCurrentDataItem() : nullptr;
        return item && (item->stResult.dSlope != 0.0 || item->stResult.dIntercept != 0.0);
    }
    case Within::ResultTable: {
        auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, &doc);
        const _EXERDATAITEM* item = exer ? exer->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        for (const auto& column : item->stResult.strValue)
            for (const CString& cell : column)
                if (!cell.IsEmpty()) return true;
        return false;
    }
    case Within::ExerciseSummary: {
        // The leads and levels read as 0 when the record XML has none: only
        // the section itself tells a stored lead I and level 0 from nothing.
        auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, &doc);
        if (!exer || !exer->GetCurrentDataItem()) return false;
        CECGXMLParser xml(exer->GetCurItemXMLPath(), 0, CString());
        return xml.GetObjectCount(CString(L"/Rawdata/Tavrion/Report/Exercise_section/Extra3")) > 0;
    }
    }
    return true;
}

// The kinds by _DOC_TYPE, as a refusal names them, each with its article.
const char* const kKindNames[] = {"resting", "master-step", "rhythm", "RR", "extra-lead", "exercise", "MFER"};
const char* const kArticles[] = {"a", "a", "a", "an", "an", "an", "an"};
const int kKinds = 7;

// "resting, rhythm or MFER" (`last` "or") or "resting, rhythm and MFER".
std::string KindList(unsigned kinds, const char* last)
{
    std::string text;
    int left = 0;
    for (int kind = 0; kind < kKinds; ++kind) left += (kinds & Kind(kind)) ? 1 : 0;
    for (int kind = 0; kind < kKinds; ++kind) {
        if (!(kinds & Kind(kind))) continue;
        if (!text.empty()) text += left == 1 ? std::string(" ") + last + " " : std::string(", ");
        text += kKindNames[kind];
        --left;
    }
    return text;
}

int FirstKind(unsigned kinds)
{
    for (int kind = 0; kind < kKinds; ++kind)
        if (kinds & Kind(kind)) return kind;
    return 0;
}

const char* WithinText(const Drawing& drawing)
{
    switch (drawing.within) {
    case Within::Anything: return "";
    case Within::AverageBeats: return " with average beats";
    case Within::StandardLeads: return " of twelve or fifteen leads";
    case Within::BeatsOrComment: return " with average beats";
    // What the record XML brings is said where a record of the kind lacks it.
    default: return "";
    }
}

// What a record lacks that only its record XML brings.
const char* FromRecordXml(Within within)
{
    switch (within) {
    case Within::RRIntervals: return "RR intervals: the device's RR analysis comes with the record XML only";
    case Within::RRAnalysis: return "an RR analysis: the device's RR analysis comes with the record XML only";
    case Within::MasterStepComparison:
        return "a comparison: the windows, ST levels and rates of the master-step comparisons come with the record XML "
               "only";
    case Within::MetsHrLine:
    case Within::ResultTable:
        return "a METs-HR line: the exercise's METs-HR line and the result table made from it come with the record "
               "XML only";
    case Within::ExerciseSummary:
        return "its ST leads: the exercise's three ST leads and their levels come with the record XML only";
    default: return "a summary: the master-step summary comes with the record XML only";
    }
}

// "a resting, rhythm or MFER record", "an RR record"; "a resting or MFER
// record with average beats, or a rhythm record".
std::string NeededRecord(const Drawing& drawing)
{
    const unsigned kinds = drawing.within == Within::BeatsOrComment ? drawing.kinds & ~kRhythm : drawing.kinds;
    std::string text = std::string(kArticles[FirstKind(kinds)]) + " " + KindList(kinds, "or") + " record" +
                       WithinText(drawing);
    if (drawing.within == Within::BeatsOrComment) text += ", or a rhythm record";
    return text;
}

// "resting, rhythm and MFER records", "resting and MFER records with average
// beats and rhythm records".
std::string PrintedRecords(const Drawing& drawing)
{
    const unsigned kinds = drawing.within == Within::BeatsOrComment ? drawing.kinds & ~kRhythm : drawing.kinds;
    std::string text = KindList(kinds, "and") + " records" + WithinText(drawing);
    if (drawing.within == Within::BeatsOrComment) text += " and rhythm records";
    return text;
}

// "a resting record" for the record of `doc`.
std::string RecordKindText(CTavrionDoc& doc)
{
    const int kind = doc.GetDocType();
    if (kind < 0 || kind >= kKinds) return "a record of another kind";
    return std::string(kArticles[kind]) + " " + kKindNames[kind] + " record";
}

bool KindTaken(const Drawing& drawing, CTavrionDoc& doc)
{
    const int kind = doc.GetDocType();
    return kind >= 0 && kind < kKinds && (drawing.kinds & Kind(kind)) != 0;
}

bool Says(const std::string& name, const char* why)
{
    if (!why) return true;
    ReportFailure("%s %s", name.c_str(), why);
    return false;
}

// The wave styles each kind's records are drawn in, a bit per style: the
// rest family for the resting records, the rest and rhythm families for the
// rhythm records (whose pages show their leads in the rest layouts too), the
// RR rows for the RR records, the one-lead strips and the extra family for
// the extra-lead records, and every family but the RR rows for an MFER file.
constexpr unsigned long Styles(int first, int last)
{
    unsigned long bits = 0;
    for (int style = first; style <= last; ++style) bits |= 1ul << style;
    return bits;
}

unsigned long WaveStylesOfKind(int kind)
{
    switch (kind) {
    case DOC_TYPE_REST: return Styles(1, 15);
    case DOC_TYPE_RHYTHM: return Styles(1, 19);
    case DOC_TYPE_RR: return Styles(20, 21);
    case DOC_TYPE_EXTRA: return Styles(13, 15) | Styles(19, 19) | Styles(22, 28);
    case DOC_TYPE_MFER: return Styles(1, 19) | Styles(22, 28);
    default: return 0;
    }
}

// "1 to 15", "13 to 15, 19 and 22 to 28", "1, 2, 5 to 10".
std::string NumberList(const std::vector<int>& sorted)
{
    std::vector<std::string> runs;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1) ++j;
        std::string run = std::to_string(sorted[i]);
        if (j >= i + 2) run += " to " + std::to_string(sorted[j]);
        else if (j == i + 1) runs.push_back(run), run = std::to_string(sorted[j]);
        runs.push_back(run);
        i = j + 1;
    }
    std::string text;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (i) text += i + 1 == runs.size() ? " and " : ", ";
        text += runs[i];
    }
    return text;
}

// The protocol summary prints the step-and-trip protocol's line only: on
// paper a record of another protocol is a page without a word.
bool IsStepAndTripRecord(CTavrionDoc& doc)
{
    auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &doc);
    const _FINALDATAITEM* item = final ? final->GetCurrentDataItem() : nullptr;
    return item && (item->uSystemCode & 0xFF) == 243;
}

}  // namespace

bool WaveStyleDraws(int style, CTavrionDoc& doc)
{
    return style >= 1 && style <= 28 && (WaveStylesOfKind(doc.GetDocType()) >> style & 1ul) != 0;
}

bool WaveStyleOrSays(const std::string& name, int style, CTavrionDoc& doc)
{
    if (WaveStyleDraws(style, doc)) return true;
    std::vector<int> styles;
    for (int s = 1; s <= 28; ++s)
        if (WaveStyleDraws(s, doc)) styles.push_back(s);
    if (styles.empty())
        ReportFailure("--style %d: %s draws %s in no style", style, name.c_str(), RecordKindText(doc).c_str());
    else
        ReportFailure("--style %d: %s draws %s in styles %s", style, name.c_str(), RecordKindText(doc).c_str(),
                      NumberList(styles).c_str());
    return false;
}

bool PageStyleOrSays(const std::string& name, const std::vector<int>& styles, int style, CTavrionDoc* doc)
{
    for (int taken : styles)
        if (taken == style) return true;
    std::vector<int> sorted = styles;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.empty())
        ReportFailure("--style %d: %s takes no --style", style, name.c_str());
    else
        ReportFailure("--style %d: %s takes styles %s%s%s", style, name.c_str(), NumberList(sorted).c_str(),
                      doc ? " on " : "", doc ? RecordKindText(*doc).c_str() : "");
    return false;
}

bool PaneTakesStyleOrSays(const PaneKind& kind, CTavrionDoc& doc, int style)
{
    if (style < 0) return true;
    std::vector<int> styles = StylesOn(kind, doc);
    if (kind.mferOffset && doc.GetDocType() == DOC_TYPE_MFER)
        for (int taken : StylesOn(kind, doc)) styles.push_back(taken + kind.mferOffset);
    return PageStyleOrSays(kind.name, styles, style, &doc);
}

bool PrintsRecord(const std::string& name, CTavrionDoc& doc)
{
    return name != "CViewSummaryProtocol" || IsStepAndTripRecord(doc);
}

bool PrintsRecordOrSays(const std::string& name, CTavrionDoc& doc)
{
    if (PrintsRecord(name, doc)) return true;
    ReportFailure("%s prints the step-and-trip protocol (system code 243) only; this is a master-step record of "
                  "another protocol",
                  name.c_str());
    return false;
}

namespace {

// "needs a resting, rhythm or MFER record", "needs an RR record; this one is
// without RR intervals: ...", or the drawing's own words.
std::string WhyNot(const Drawing& drawing, CTavrionDoc& doc)
{
    if (drawing.refusal) return drawing.refusal;
    std::string text = "needs " + NeededRecord(drawing);
    if (KindTaken(drawing, doc) && FromTheRecordXml(drawing.within))
        text += std::string("; this one is without ") + FromRecordXml(drawing.within);
    return text;
}

const TrendStyle* FindTrendStyle(int style)
{
    for (const TrendStyle& trend : kTrendStyles)
        if (trend.style == style) return &trend;
    return nullptr;
}

// "needs an exercise record; this one is without a METs-HR line: ..." for a
// trend style the record does not draw.
std::string TrendWhyNot(int style)
{
    const TrendStyle* trend = FindTrendStyle(style);
    return std::string("needs an exercise record; this one is without ") +
           FromRecordXml(trend ? trend->within : Within::MetsHrLine);
}

const PagePictures* FindPage(const std::string& pane)
{
    for (const PagePictures& page : kPagePictures)
        if (pane == page.pane) return &page;
    return nullptr;
}

bool PictureDraws(const std::pair<const char*, int>& picture, CTavrionDoc& doc)
{
    return picture.second ? TrendStyleDraws(picture.second, doc) : Takes(picture.first, doc);
}

// Why none of the page's pictures draws the record, said of its first.
std::string PageWhyNot(const PagePictures& page, CTavrionDoc& doc)
{
    const auto& [name, style] = page.pictures.front();
    if (style) return std::string(name) + " --style " + std::to_string(style) + " " + TrendWhyNot(style);
    const Drawing* drawing = Find(name);
    if (!drawing) return std::string(name) + " does not show this record";
    // A page listed by the report that prints it is that report's page.
    const bool view = std::string(name).rfind("CView", 0) == 0;
    return (view ? std::string(name) : "the page the " + std::string(name) + " report prints") + " " +
           WhyNot(*drawing, doc);
}

}  // namespace

bool TrendStyleDraws(int style, CTavrionDoc& doc)
{
    const TrendStyle* trend = FindTrendStyle(style);
    if (!trend) return true;
    const Drawing drawing = {kTrendView, kExer, trend->within};
    return KindTaken(drawing, doc) && HoldsWhatItShows(drawing, doc);
}

bool TrendStyleOrSays(int style, CTavrionDoc& doc)
{
    if (TrendStyleDraws(style, doc)) return true;
    ReportFailure("%s --style %d %s", kTrendView, style, TrendWhyNot(style).c_str());
    return false;
}

bool Takes(const std::string& name, CTavrionDoc& doc)
{
    if (const Drawing* drawing = Find(name)) return KindTaken(*drawing, doc) && HoldsWhatItShows(*drawing, doc);
    // A pane takes the documents its page is made for; a comparing pane
    // decides by the whole series it is given.
    if (const PaneKind* pane = FindPane(name)) {
        if (pane->makeOnSet) return true;
        const std::unique_ptr<CWnd> probe(pane->make(doc, true));
        if (!probe) return false;
        const PagePictures* page = FindPage(name);
        if (!page) return true;
        for (const auto& picture : page->pictures)
            if (PictureDraws(picture, doc)) return true;
        return false;
    }
    return true;
}

bool TakesOrSays(const std::string& name, CTavrionDoc& doc)
{
    if (Takes(name, doc)) return true;
    const Drawing* drawing = Find(name);
    const PagePictures* page = drawing ? nullptr : FindPage(name);
    const PaneKind* pane = page ? FindPane(name) : nullptr;
    if (drawing) {
        ReportFailure("%s %s", name.c_str(), WhyNot(*drawing, doc).c_str());
    } else if (pane && std::unique_ptr<CWnd>(pane->make(doc, true))) {
        // Of its kind, but with none of its pictures.
        ReportFailure("%s has nothing of this record to show: %s", name.c_str(), PageWhyNot(*page, doc).c_str());
    } else {
        ReportFailure("%s does not show this record", name.c_str());
    }
    return false;
}

void LeaveOutEmptyViews(CWnd& pane, CTavrionDoc& doc, const std::string& paneName, bool say)
{
    std::vector<std::string> said;
    std::vector<CWnd*> windows = {&pane};
    while (!windows.empty()) {
        CWnd* window = windows.back();
        windows.pop_back();
        for (CWnd* child = window->GetWindow(GW_CHILD); child; child = child->GetNextWindow()) windows.push_back(child);
        if (window == &pane) continue;
        std::string name = window->GetRuntimeClass()->m_lpszClassName;
        bool draws = true;
        std::string why;
        if (auto* trend = DYNAMIC_DOWNCAST(CViewExerTrend, window)) {
            const int style = trend->GetTrendStyle();
            draws = TrendStyleDraws(style, doc);
            if (!draws) {
                name += " --style " + std::to_string(style);
                why = TrendWhyNot(style);
            }
        } else if (const Drawing* drawing = Find(name)) {
            // The views made of what the record XML brings, and the average
            // beats, which a page of a record without them (a rhythm record's
            // interpretation page) holds all the same; the others draw
            // whatever the record holds.
            const bool beats = drawing->within == Within::AverageBeats;
            if (!beats && !(FromTheRecordXml(drawing->within) && KindTaken(*drawing, doc))) continue;
            draws = KindTaken(*drawing, doc) && HoldsWhatItShows(*drawing, doc);
            if (!draws) why = WhyNot(*drawing, doc);
        } else {
            continue;
        }
        // A page holds each view in a frame of its own, which goes with it.
        // The pages show their views once made and never hide one: a view
        // hidden here that draws the record now (its style changed) is shown again.
        CWnd* parent = window->GetParent();
        CWnd* holder = parent && parent != &pane && DYNAMIC_DOWNCAST(CFrameWnd, parent) ? parent : window;
        const bool shown = (holder->GetStyle() & WS_VISIBLE) != 0;
        if (draws != shown) holder->ShowWindow(draws ? SW_SHOWNA : SW_HIDE);
        if (!draws && shown) {
            // A page paints no ground of its own: the picture the view left
            // on it goes with the view, back to the page's white.
            CWnd* under = holder->GetParent();
            CRect rect;
            holder->GetWindowRect(&rect);
            under->ScreenToClient(&rect);
            CClientDC dc(under);
            dc.FillSolidRect(&rect, RGB(255, 255, 255));
        }
        if (draws || !say || std::find(said.begin(), said.end(), name) != said.end()) continue;
        said.push_back(name);
        ReportFailure("note: %s is shown without %s, which %s", paneName.c_str(), name.c_str(), why.c_str());
    }
}

std::string ReportRefusalOf(const std::string& name, CTavrionDoc& doc)
{
    const Drawing* drawing = Find(name);
    if (!drawing || Takes(name, doc)) return std::string();
    std::string lacks;
    if (KindTaken(*drawing, doc)) {
        switch (drawing->within) {
        case Within::StandardLeads: lacks = " of other leads"; break;
        default:
            lacks = FromTheRecordXml(drawing->within) ? std::string(" without ") + FromRecordXml(drawing->within)
                                                       : std::string(" without average beats");
            break;
        }
    }
    return "the " + name + " report prints " + PrintedRecords(*drawing) + " only; this is " + RecordKindText(doc) +
           lacks;
}

void NoteReportLeavesOut(const std::string& report, CTavrionDoc& doc)
{
    // The interpretation page prints its average beats beside the
    // interpretation: a rhythm record, which has none, prints the page without.
    if (report != "rest-interpre" || Takes(kAverageView, doc)) return;
    ReportFailure("note: the %s report is printed without %s, which %s", report.c_str(), kAverageView,
                  WhyNot(*Find(kAverageView), doc).c_str());
}

bool Shown(const std::string& name)
{
    const Drawing* drawing = Find(name);
    return !drawing || !drawing->notShown;
}

bool Printed(const std::string& name)
{
    const Drawing* drawing = Find(name);
    return !drawing || !drawing->notPrinted;
}

bool ShownOrSays(const std::string& name)
{
    const Drawing* drawing = Find(name);
    return Says(name, drawing ? drawing->notShown : nullptr);
}

bool PrintedOrSays(const std::string& name)
{
    const Drawing* drawing = Find(name);
    return Says(name, drawing ? drawing->notPrinted : nullptr);
}

int AverageBeatSamples(CTavrionDoc& doc, int lead)
{
    if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc)) {
        _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        return item && item->pMFERParser ? item->pMFERParser->GetWaveLength(2) / 2 : 0;
    }
    return doc.GetAverageWaveData(lead, nullptr, -1) / 2;
}

}  // namespace host
