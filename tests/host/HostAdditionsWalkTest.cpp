// A record's additions as every form and sheet shows them, through every
// save that writes them, on every kind of record that carries them. The
// reader finds addition n by its number; a record XML may hold additions it
// does not find so: a number written "02", " 2" or "２", none, numbers with
// a gap, more additions than the reader takes. The shapes are given to
// records of every kind, each opened by the host's own opener in the test's
// process, and each save path the host offers on it (the patient sheets'
// pages and the forms that take the record's kind) saves as a person does:
// another field typed, then an addition edited on the sheet's additions
// page and on the form's addition rows. After every save the additions
// section of the record XML is compared element by element, and after an
// edit the record is opened again to read what the forms and sheets show of
// the additions.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/DlgInfoCommentBase.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "dialogs/PageAdditionalInfor.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/RecordOpening.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using platform::ui::Desktop;
using testsupport::Utf8;

namespace {

const int kScreenWidth = 1920;
const int kScreenHeight = 1080;
const wchar_t kUser[] = L"高橋";
const std::string kElement = "/Rawdata[1]/Tavrion[1]/Addition[1]/Patient_add_section[1]/Addition_content[";

// The addition rows a form may show: three titles, then three contents, of
// the resting, the master-step and the panel forms.
const UINT kRowIds[] = {3971, 3972, 3973, 3980, 3981, 3982, 3985, 3986, 3987,
                        3994, 3995, 3996, 3999, 4000, 4001, 4008, 4009, 4010};
const UINT kContentRows[] = {3980, 3994, 4008};
// The additions page: 16 titles, then 16 contents.
const UINT kPageTitle = 3876;
const UINT kPageContent = 3892;

// Each save path and the field it types into for a save of another field.
const std::vector<std::pair<std::string, std::vector<UINT>>> kSheets = {
    {"CDlgPatientInfoComment", {3252}},
    {"CDlgInfoCommentGeneral", {3741, 4142}},
};
const std::vector<std::pair<std::string, UINT>> kForms = {
    {"CFormPatientInfo", 3015},   {"CFormInterpre", 3035},     {"CFormInterpreAme", 3035},
    {"CFormInterpreMsfr", 3605},  {"CFormInterpreRhyRR", 3641}, {"CFormInterpreExer", 4023},
};

// The numbers of a shape's additions, in the order stored; none for an
// addition without one.
struct Shape {
    std::string name;
    std::vector<std::optional<std::string>> numbers;
};

std::vector<Shape> Shapes()
{
    std::vector<Shape> shapes = {
        {"02", {"1", "02", "3"}},
        {"blank 2", {"1", " 2", "3"}},
        {"wide 2", {"1", "２", "3"}},
        {"no number", {"1", std::nullopt, "3"}},
        {"gap", {"1", "2", "4"}},
        {"past the reader", {}},
    };
    for (int n = 1; n <= ADDITION_MAX + 4; ++n) shapes.back().numbers.push_back(std::to_string(n));
    return shapes;
}

// The record XML with the shape's additions in place of those it held: the
// n-th stored "表題n" over "内容n", the first's title and the second's text
// on two lines, the third without a title.
void GiveShape(const std::string& xml, const Shape& shape)
{
    std::string text = testsupport::ReadFileBytes(xml);
    const std::regex element("<Addition_content\\b[^>]*?(/>|>[^<]*</Addition_content>)\\s*");
    std::smatch first;
    ASSERT_TRUE(std::regex_search(text, first, element)) << xml << " holds no addition";
    const size_t at = static_cast<size_t>(first.position(0));
    std::string made;
    for (size_t i = 0; i < shape.numbers.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        made += "<Addition_content";
        if (shape.numbers[i]) made += " number=\"" + *shape.numbers[i] + "\"";
        if (i != 2) made += " title=\"表題" + n + (i == 0 ? "&#10;続き" : "") + "\"";
        made += ">内容" + n + (i == 1 ? "&#10;続き" : "") + "</Addition_content>\n";
    }
    text = text.substr(0, at) + made + std::regex_replace(text.substr(at), element, "");
    std::ofstream(xml, std::ios::binary) << text;
}

// The additions section as stored: every value under its elements.
xmlchanges::Entries Section(const std::string& xml)
{
    xmlchanges::Entries section;
    for (const auto& [path, value] : xmlchanges::Read(testsupport::ReadFileBytes(xml)))
        if (path.compare(0, kElement.size(), kElement) == 0) section.emplace(path, value);
    return section;
}

std::string Differences(const xmlchanges::Entries& wanted, const xmlchanges::Entries& found)
{
    std::string text;
    for (const xmlchanges::Change& change : xmlchanges::Changes(wanted, found))
        text += "\n  " + xmlchanges::Describe(change);
    return text;
}

template <class Doc> const _ADDITIONAL_INFO* ItemAdditions(CTavrionDoc& doc)
{
    auto* typed = dynamic_cast<Doc*>(&doc);
    auto* item = typed ? typed->GetCurrentDataItem() : nullptr;
    return item ? &item->stAddition : nullptr;
}

// The current item's additions, on a document of any kind that has them.
const _ADDITIONAL_INFO* AdditionsOf(CTavrionDoc& doc)
{
    for (auto additions : {ItemAdditions<CRestViewDoc>, ItemAdditions<CFinalViewDoc>, ItemAdditions<CRhythmViewDoc>,
                           ItemAdditions<CRRViewDoc>, ItemAdditions<CExtraViewDoc>, ItemAdditions<CMFERViewDoc>})
        if (const _ADDITIONAL_INFO* found = additions(doc)) return found;
    return nullptr;
}

bool Shown(CWnd* control)
{
    return control && control->IsWindowVisible() && control->IsWindowEnabled();
}

// What a person reads of the additions, place by place.
using Reading = std::vector<std::pair<std::string, std::string>>;

// The record opened as the host opens it, for a user who may save.
class Opened {
public:
    explicit Opened(const std::string& record)
    {
        EXPECT_TRUE(host::OpenForViews(record, m_doc)) << record;
        if (!m_doc) return;
        m_doc->m_bAutoDelete = FALSE;
        m_screen.Use(*m_doc, kScreenWidth, kScreenHeight);
        m_doc->SetCtrlContent(nullptr);
        m_doc->UpdateCtrlStatus();
        m_doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), kUser);
        m_doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9), kUser);
        m_doc->SetDoctorAndEditorStatus(1, 1);
    }
    CTavrionDoc* operator->() { return m_doc.get(); }
    CTavrionDoc& operator*() { return *m_doc; }
    explicit operator bool() const { return m_doc != nullptr; }

private:
    formtest::ScopedScreen m_screen;
    std::unique_ptr<CTavrionDoc> m_doc;
};

// Runs the sheet modally: `act` on it with the sheet's pages, the editor
// prompt answered with the user; the result of DoModal.
INT_PTR RunSheet(CTavrionDoc& doc, const std::string& name,
                 const std::function<void(CDialog&, CPropertySheet&)>& act)
{
    std::unique_ptr<CDlgInfoCommentBase> sheet;
    if (name == "CDlgPatientInfoComment") {
        auto patient = std::make_unique<CDlgPatientInfoComment>(0, nullptr);
        patient->SetDoc(&doc, doc.GetDocType());
        sheet = std::move(patient);
    } else {
        auto general = std::make_unique<CDlgInfoCommentGeneral>(nullptr);
        general->SetDoc(&doc, doc.GetDocType());
        sheet = std::move(general);
    }
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown) return;
        if (shown != sheet.get()) {
            const int list = shown->GetDlgItem(3485) ? 3485 : 3487;
            shown->SendDlgItemMessage(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kUser));
            shown->SendDlgItemMessage(IDOK, BM_CLICK);
            return;
        }
        Desktop::PumpMessages();
        act(*shown, sheet->Sheet());
        if (shown->GetSafeHwnd() && shown->IsWindowVisible()) shown->EndDialog(IDCANCEL);
    });
    return sheet->DoModal();
}

// The sheet's page that holds control `id`, shown; null when none does.
CWnd* PageWith(CPropertySheet& pages, UINT id)
{
    for (int page = 0; page < pages.GetPageCount(); ++page) {
        pages.SetActivePage(page);
        Desktop::PumpMessages();
        CWnd* shown = pages.GetActivePage();
        if (shown && Shown(shown->GetDlgItem(static_cast<int>(id)))) return shown;
    }
    return nullptr;
}

// Types over the control's text as a person does, then leaves it.
void TypeOver(CWnd& control, const CString& text)
{
    control.SetFocus();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    Desktop::TypeText(text);
    Desktop::KeyPress(VK_TAB);
    Desktop::PumpMessages();
}

// Whether the host shows the record in the form or sheet: the host's rule
// of which records each takes, by the record's kind.
bool Takes(const std::string& name, CTavrionDoc& doc)
{
    const int type = doc.GetDocType();
    if (name == "CDlgPatientInfoComment") return type == DOC_TYPE_REST || type == DOC_TYPE_MFER;
    if (name == "CDlgInfoCommentGeneral") return type != DOC_TYPE_REST;
    if (name == "CFormPatientInfo") return true;
    if (name == "CFormInterpre" || name == "CFormInterpreAme") {
        auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc);
        const _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        return type == DOC_TYPE_REST || (item && CMFERViewDoc::IsFullLeadKind(item->uSystemCode));
    }
    if (name == "CFormInterpreMsfr") return type == DOC_TYPE_FINAL;
    if (name == "CFormInterpreExer") return type == DOC_TYPE_EXER;
    return type == DOC_TYPE_RHYTHM || type == DOC_TYPE_RR || type == DOC_TYPE_EXTRA || type == DOC_TYPE_MFER;
}

// The forms the host shows the record in (or the one named), each made on the document.
void ForEachForm(CTavrionDoc& doc, const std::function<void(const std::string&, UINT, CFormEx&)>& act,
                 const std::string& only = std::string())
{
    for (const auto& [name, field] : kForms) {
        if (!Takes(name, doc) || (!only.empty() && name != only)) continue;
        formtest::FormHost<CFormEx> host;
        CFormEx* form = host.Show(doc, doc.GetDocType(), CRuntimeClass::FromName(name.c_str()), kScreenWidth,
                                  kScreenHeight);
        EXPECT_NE(form, nullptr) << name;
        if (form) act(name, field, *form);
    }
}

// What the record shows of its additions when opened again: the item's
// additions, the addition rows the forms are loaded with, the rows of the
// sheets' additions pages and, when `forms` is set, the rows each form shows.
Reading Read(const std::string& record, bool forms)
{
    Reading reading;
    Opened doc(record);
    if (!doc) return reading;
    if (const _ADDITIONAL_INFO* info = AdditionsOf(*doc); info && info->bPresent) {
        reading.emplace_back("count", std::to_string(info->nCount));
        for (int n = 0; n < info->nCount; ++n) {
            reading.emplace_back("addition " + std::to_string(n + 1) + " title", Utf8(info->strTitle[n]));
            reading.emplace_back("addition " + std::to_string(n + 1) + " content", Utf8(info->strContent[n]));
        }
    }
    for (UINT id : kRowIds) reading.emplace_back("row " + std::to_string(id), Utf8(testsupport::StoredText(*doc, id)));
    if (forms) {
        ForEachForm(*doc, [&](const std::string& name, UINT, CFormEx& form) {
            for (UINT id : kRowIds) {
                CWnd* row = form.GetDlgItem(static_cast<int>(id));
                if (!Shown(row)) continue;
                CString text;
                row->GetWindowText(text);
                reading.emplace_back(name + " " + std::to_string(id), Utf8(text));
            }
        });
    }
    for (const auto& [name, fields] : kSheets) {
        if (!Takes(name, *doc)) continue;
        RunSheet(*doc, name, [&, sheetName = name](CDialog&, CPropertySheet& pages) {
            CWnd* page = PageWith(pages, kPageContent);
            for (UINT row = 0; page && row < ADDITION_PAGE_ROWS; ++row) {
                for (UINT id : {kPageTitle + row, kPageContent + row}) {
                    CString text;
                    page->GetDlgItemText(static_cast<int>(id), text);
                    reading.emplace_back(sheetName + " " + std::to_string(id), Utf8(text));
                }
            }
        });
    }
    return reading;
}

std::string Describe(const Reading& wanted, const Reading& found)
{
    std::string text;
    const size_t count = std::max(wanted.size(), found.size());
    for (size_t i = 0; i < count; ++i) {
        const std::string w = i < wanted.size() ? wanted[i].first + " \"" + wanted[i].second + "\"" : "(none)";
        const std::string f = i < found.size() ? found[i].first + " \"" + found[i].second + "\"" : "(none)";
        if (w != f) text += "\n  " + w + " -> " + f;
    }
    return text;
}

// A save through one path: what it types where, and whether it edits an addition.
struct Save {
    std::string path;       // the sheet's or form's class
    bool sheet = false;
    UINT id = 0;
    std::string text;       // typed over the field; none: the button is pressed
    bool addition = false;
};

// Saves through the path on the record opened afresh; false when the path
// did not save.
bool Make(const std::string& record, const Save& save)
{
    Opened doc(record);
    if (!doc) return false;
    const CString text = testsupport::Wide(save.text);
    if (save.sheet) {
        bool typed = false;
        const INT_PTR result = RunSheet(*doc, save.path, [&](CDialog& dialog, CPropertySheet& pages) {
            CWnd* page = PageWith(pages, save.id);
            if (!page) return;
            if (save.text.empty())
                page->SendDlgItemMessage(static_cast<int>(save.id), BM_CLICK);
            else
                TypeOver(*page->GetDlgItem(static_cast<int>(save.id)), text);
            typed = true;
            dialog.SendDlgItemMessage(IDOK, BM_CLICK);
            Desktop::PumpMessages();
        });
        return typed && result == IDOK;
    }
    bool saved = false;
    ForEachForm(*doc, [&](const std::string&, UINT, CFormEx& form) {
        CWnd* control = form.GetDlgItem(static_cast<int>(save.id));
        if (!Shown(control)) return;
        TypeOver(*control, text);
        saved = doc->SaveDataToXML(doc->GetCurDataIndex()) == 0;
    }, save.path);
    return saved;
}

// The saves a person can make on the record: another field through every
// path, then an addition edited wherever one is shown.
std::vector<Save> SavesOn(const std::string& record)
{
    std::vector<Save> fields, additions;
    Opened doc(record);
    if (!doc) return fields;
    int typed = 0;
    auto another = [&] { return "頭痛" + std::to_string(++typed); };
    ForEachForm(*doc, [&](const std::string& name, UINT field, CFormEx& form) {
        const bool height = field == 3015;
        fields.push_back({name, false, field, height ? std::to_string(150 + ++typed) : another(), false});
        for (UINT id : kContentRows)
            if (Shown(form.GetDlgItem(static_cast<int>(id))))
                additions.push_back({name, false, id, "改訂" + std::to_string(++typed), true});
    });
    for (const auto& [name, ids] : kSheets) {
        if (!Takes(name, *doc)) continue;
        std::vector<UINT> found;
        RunSheet(*doc, name, [&](CDialog&, CPropertySheet& pages) {
            for (UINT id : ids)
                if (PageWith(pages, id)) found.push_back(id);
            if (PageWith(pages, kPageContent)) found.push_back(kPageContent);
        });
        EXPECT_FALSE(found.empty() || found.front() == kPageContent) << name << " takes none of the walk's fields";
        for (UINT id : found) {
            if (id == kPageContent)
                additions.push_back({name, true, id, "改訂" + std::to_string(++typed), true});
            else
                fields.push_back({name, true, id, another(), false});
        }
    }
    fields.insert(fields.end(), additions.begin(), additions.end());
    return fields;
}

class HostAdditionsWalk : public testsupport::DocumentTest {
protected:
    static void SetUpTestSuite()
    {
        s_made = new testsupport::TempDir;
        const auto file = [](const std::string& name) { return s_made->File(name); };
        hosttest::MakeRecords({"samples", file("samples")});
        hosttest::MakeRecords({"examinations", file("examinations")});
        // A resting record of a code no other kind has is opened as one too.
        std::filesystem::create_directory(file("odd"));
        hosttest::MakeRecords({"synth", "--kind", "rest12", "--code", "7", "--any-code", "--out", file("odd/rest7.ecg")});
        // The maker's resting and rhythm records carry none: marked as
        // carrying additions, with their record XML written again.
        for (const char* record : {"samples/rest12_90.ecg", "samples/rhythm_90.ecg", "odd/rest7.ecg"})
            hosttest::MakeRecords({"xml", "--for", file(record), "--additions", "3"});
        std::filesystem::create_directory(file("mfer"));
        hosttest::MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", file("mfer/p12.mwf"),
                               "--xml-out", file("mfer/Raw_p1220240401093000.xml"), "--additions", "3"});
        hosttest::MakeRecords({"mfer", "--kind", "rhythm15", "--out", file("mfer/r15.mwf"), "--xml-out",
                               file("mfer/Raw_r1520240401093000.xml"), "--additions", "3"});
    }
    static void TearDownTestSuite()
    {
        delete s_made;
        s_made = nullptr;
    }

    // A copy of the maker's record and its record XML in a folder of its own.
    testsupport::RecordPaths Copy(const std::string& made, const std::string& folder)
    {
        const std::string name = made.substr(made.rfind('/') + 1);
        const std::string stem = name.substr(0, name.rfind('.'));
        const bool mfer = host::IsMferFile(name);
        const std::string xmlName = (mfer ? "Raw_" : "") + stem + "20240401093000.xml";
        const std::string from = s_made->File(made.substr(0, made.rfind('/') + 1));
        std::filesystem::create_directories(m_dir.File(folder));
        const testsupport::RecordPaths copy{m_dir.File(folder + "/" + name), m_dir.File(folder + "/" + xmlName)};
        std::filesystem::copy_file(from + name, copy.record);
        std::filesystem::copy_file(from + xmlName, copy.xml);
        return copy;
    }

    static testsupport::TempDir* s_made;
};

testsupport::TempDir* HostAdditionsWalk::s_made = nullptr;

Shape ShapeNamed(const std::string& name)
{
    for (Shape& shape : Shapes())
        if (shape.name == name) return shape;
    ADD_FAILURE() << "no shape " << name;
    return {};
}

// What a reading holds but for the rows each form shows.
Reading WithoutForms(const Reading& reading)
{
    Reading kept;
    for (const auto& place : reading)
        if (place.first.compare(0, 5, "CForm") != 0) kept.push_back(place);
    return kept;
}

}  // namespace

// Every kind of record that carries additions, each given one or two shapes
// (every shape is given to two kinds or more), saved through every path the
// host offers on it: a save of another field leaves the additions section as
// stored, element by element; an addition edited on a sheet's additions page
// or a form's rows is written into the element the reader found it in,
// every other element staying as stored, and the record shows that edit and
// nothing else changed; each save after it finds the same additions again.
// The exercise test carries none: its saves leave the section as stored.
TEST_F(HostAdditionsWalk, EachSaveKeepsTheAdditionsTheReaderDoesNotFindByNumberAndShowsTheSameAfterIt)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> walks = {
        {"samples/rest12_90.ecg", {"02", "gap"}},
        {"odd/rest7.ecg", {"blank 2"}},
        {"examinations/mstep243.ecg", {"02", "blank 2"}},
        {"samples/rhythm_90.ecg", {"wide 2", "no number"}},
        {"samples/rr_90.ecg", {"gap", "past the reader"}},
        {"examinations/extra6_90.ecg", {"no number", "blank 2"}},
        {"mfer/p12.mwf", {"wide 2", "past the reader"}},
        {"mfer/r15.mwf", {"02", "gap"}},
        {"examinations/exercise_90.ecg", {"02"}},
    };
    Desktop::Reset();
    int walked = 0;
    for (const auto& [made, shapes] : walks) {
        for (const std::string& shapeName : shapes) {
            SCOPED_TRACE(made + ", additions numbered as " + shapeName);
            const testsupport::RecordPaths files = Copy(made, "walk" + std::to_string(++walked));
            GiveShape(files.xml, ShapeNamed(shapeName));
            xmlchanges::Entries section = Section(files.xml);
            Reading shown = Read(files.record, true);
            EXPECT_EQ(shown.front().first == "count", made.find("exercise") == std::string::npos)
                << "every kind but the exercise test carries additions";
            std::string entry = "内容1";
            for (const Save& save : SavesOn(files.record)) {
                SCOPED_TRACE(save.path + (save.addition ? " editing the first addition" : " saving another field"));
                ASSERT_TRUE(Make(files.record, save));
                const xmlchanges::Entries saved = Section(files.xml);
                if (!save.addition) {
                    // The section as it was: what is shown of it cannot change.
                    EXPECT_EQ(section, saved) << Differences(section, saved);
                    continue;
                }
                // The first addition, found by its number 1, is the first
                // element in every shape.
                section[kElement + "1]#"] = save.text;
                for (auto& place : shown)
                    if (place.second == entry) place.second = save.text;
                entry = save.text;
                EXPECT_EQ(section, saved) << Differences(section, saved);
                const Reading again = Read(files.record, false);
                EXPECT_EQ(WithoutForms(shown), again) << Describe(WithoutForms(shown), again);
            }
            const Reading last = Read(files.record, true);
            EXPECT_EQ(shown, last) << Describe(shown, last);
        }
    }
}

// A record with more additions than the reader takes keeps those past them
// after the ones it took, under the numbers that follow them: an addition
// deleted on the sheet moves the others up, the first past them into the
// reader's last place; the next save, editing an addition on the form,
// finds them all again and empties none.
TEST_F(HostAdditionsWalk, AdditionsPastThoseTheReaderTakesFollowItsOwnThroughTwoSaves)
{
    Desktop::Reset();
    const testsupport::RecordPaths files = Copy("samples/rest12_90.ecg", "past");
    GiveShape(files.xml, ShapeNamed("past the reader"));
    // The n-th element holds the stored addition `stored`.
    xmlchanges::Entries wanted;
    auto holds = [&](int n, int stored) {
        const std::string element = kElement + std::to_string(n) + "]";
        wanted[element] = "";
        wanted[element + "/@number"] = std::to_string(n);
        if (stored != 3) wanted[element + "/@title"] = "表題" + std::to_string(stored) + (stored == 1 ? "\\n続き" : "");
        wanted[element + "#"] = "内容" + std::to_string(stored);
    };
    ASSERT_TRUE(Make(files.record, {"CDlgPatientInfoComment", true, 3861, "", true}));   // the second's delete
    for (int n = 1; n < ADDITION_MAX + 4; ++n) holds(n, n == 1 ? 1 : n + 1);
    EXPECT_EQ(wanted, Section(files.xml)) << Differences(wanted, Section(files.xml));
    ASSERT_TRUE(Make(files.record, {"CFormInterpre", false, 3980, "改訂", true}));
    wanted[kElement + "1]#"] = "改訂";
    EXPECT_EQ(wanted, Section(files.xml)) << Differences(wanted, Section(files.xml));
    const Reading shown = Read(files.record, false);
    const Reading::value_type last[] = {{"count", std::to_string(ADDITION_MAX)},
                                        {"addition 256 title", "表題257"}};
    for (const auto& place : last)
        EXPECT_NE(std::find(shown.begin(), shown.end(), place), shown.end()) << place.first << " " << place.second;
}

// The host's own commands as a person runs them: the master-step sheet's
// additions page and the resting form's first row each save an edited
// first addition, and the addition numbered "02", or past a gap, stays as
// stored beside it.
TEST_F(HostAdditionsWalk, TheHostsSheetAndFormKeepAnAdditionTheReaderDoesNotFindBesideTheEditedOne)
{
    const struct {
        const char* made;
        const char* shape;
        std::vector<std::string> save;
    } cases[] = {
        {"examinations/mstep243.ecg", "02",
         {"dialog", "--dialog", "CDlgInfoCommentGeneral", "--page", "1", "--set", "3892=新内容", "--ok", "高橋"}},
        {"samples/rest12_90.ecg", "gap", {"view", "--view", "CFormInterpre", "--type", "3980=新内容", "--save"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.made) + ", additions numbered as " + c.shape);
        const testsupport::RecordPaths files = Copy(c.made, c.shape);
        GiveShape(files.xml, ShapeNamed(c.shape));
        xmlchanges::Entries section = Section(files.xml);
        std::vector<std::string> args = c.save;
        args.insert(args.begin() + 1, files.record);
        args.insert(args.end(), {"--png", m_dir.File(std::string(c.shape) + ".png")});
        const hosttest::HostRun run = hosttest::Host(args);
        ASSERT_EQ(0, run.status) << run.err;
        section[kElement + "1]#"] = "新内容";
        EXPECT_EQ(section, Section(files.xml)) << Differences(section, Section(files.xml));
    }
}
