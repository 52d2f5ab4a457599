// The editing-OK protocol on records the record maker wrote, for every
// examination kind it serves: the confirmation texts a confirmed, an
// edited-after-confirmation and a never-confirmed record get, and the stamps
// and editor names of each section as the saved record XML holds them.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "dialogs/DlgEditor.h"
#include "dialogs/EditingOk.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using morvelance::Confirmation;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
const wchar_t kEditor[] = L"記録者";
const wchar_t kMakerDoctor[] = L"高橋 誠";   // the confirming doctor of the maker's records

// The document of a kind whose change test reports every section changed:
// which stamps follow which change is the protocol's, not the form's.
template <class Doc> class CEverySectionChanged : public Doc {
public:
    int ReportEverySectionChanged() { return this->SetEditChangeFlags(1, 1, 1, 0); }
};

struct OpenedRecord {
    std::unique_ptr<CTavrionDoc> doc;
    std::function<int()> changeTest;
};

template <class Doc> OpenedRecord Opened(std::unique_ptr<CEverySectionChanged<Doc>> doc)
{
    auto* typed = doc.get();
    return OpenedRecord{std::move(doc), [typed] { return typed->ReportEverySectionChanged(); }};
}

// One kind: `write` makes a record of `stem` in a confirmation state,
// `open` opens it in a fresh document (null when it fails), `xml` names
// its record XML.
struct Kind {
    int type;
    std::function<void(const std::string& stem, Confirmation)> write;
    std::function<OpenedRecord(const std::string& stem)> open;
    std::function<std::string(const std::string& stem)> xml;
};

morvelance::RecordXmlOptions In(Confirmation confirmation)
{
    morvelance::RecordXmlOptions options;
    options.confirmation = confirmation;
    return options;
}

_EDIT_STAMP_FIELDS FieldsOf(const Kind& kind, CTavrionDoc& doc)
{
    _EDIT_STAMP_FIELDS fields;
    EXPECT_TRUE(CurrentEditStampFields(&doc, kind.type, fields));
    return fields;
}

// "yyyy/mm/dd hh:mm:ss" of a date element of the record XML.
CString DateAt(const std::string& xml, const CString& path)
{
    CString parts[6];
    const wchar_t* const names[] = {L"year", L"month", L"day", L"hour", L"minute", L"second"};
    for (int i = 0; i < 6; ++i) parts[i] = testsupport::ReadXmlValue(xml, path, names[i]);
    CString text;
    text.Format(L"%s/%s/%s %s:%s:%s", parts[0].GetString(), parts[1].GetString(), parts[2].GetString(),
                parts[3].GetString(), parts[4].GetString(), parts[5].GetString());
    return text;
}

// What the record's confirmation reads as once opened.
void ExpectReadAs(const Kind& kind, CTavrionDoc& doc, Confirmation state)
{
    const _EDIT_STAMP_FIELDS f = FieldsOf(kind, doc);
    ASSERT_NE(f.pConfirmText, nullptr);
    switch (state) {
    case Confirmation::Confirmed:
        EXPECT_EQ(*f.pConfirmed, 1);
        EXPECT_EQ(*f.pConfirmDoctor, kMakerDoctor);
        break;
    case Confirmation::EditedAfter:
        EXPECT_EQ(*f.pConfirmed, 0);
        EXPECT_EQ(*f.pEditedAfterConfirm, 1);
        EXPECT_EQ(*f.pConfirmText, CEditingOk::EditedAfterConfirmText(*f.pConfirmDate, kMakerDoctor));
        break;
    case Confirmation::None:
        EXPECT_EQ(*f.pConfirmed, 0);
        EXPECT_EQ(*f.pEditedAfterConfirm, 0);
        EXPECT_EQ(*f.pConfirmText, L"医師による確認が必要です");
        break;
    }
}

// The text an edit leaves: a record that was ever confirmed keeps its last
// confirmation readable, any other asks for the doctor.
CString TextAfterEdit(Confirmation state, const CString& confirmDate)
{
    if (state == Confirmation::None) return L"医師による確認が必要です";
    return CEditingOk::EditedAfterConfirmText(confirmDate, kMakerDoctor);
}

CEditingOk::Outcome EditAsTheEditor(CTavrionDoc& doc, const _EDIT_STAMP_FIELDS& fields,
                                    const std::function<int()>& changeTest)
{
    doc.InsertEditableParam(kEditors, kEditor);
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    CEditingOk::Run run;
    run.recordTime = CEditingOk::RecordTime::Stamp;
    run.changeTest = changeTest;
    return CEditingOk::Execute(&doc, fields, run);
}

// Every confirmation state: read, edited once and twice, read back from disk.
void ExpectTheConfirmationTexts(const Kind& kind)
{
    for (Confirmation state : {Confirmation::Confirmed, Confirmation::EditedAfter, Confirmation::None}) {
        SCOPED_TRACE(morvelance::ConfirmationName(state));
        const std::string stem = std::string("c_") + morvelance::ConfirmationName(state);
        kind.write(stem, state);
        OpenedRecord opened = kind.open(stem);
        ASSERT_NE(opened.doc, nullptr);
        ExpectReadAs(kind, *opened.doc, state);
        const _EDIT_STAMP_FIELDS f = FieldsOf(kind, *opened.doc);
        const CString confirmDate = *f.pConfirmDate;

        for (int edit = 0; edit < 2; ++edit) {
            ASSERT_EQ(EditAsTheEditor(*opened.doc, f, nullptr), CEditingOk::Outcome::Stored);
            EXPECT_EQ(*f.pConfirmText, TextAfterEdit(state, confirmDate)) << "edit " << edit;
            EXPECT_EQ(*f.pConfirmed, 0);
            EXPECT_EQ(*f.pEditedAfterConfirm, state == Confirmation::None ? 0 : 1);
        }
        // The record edit time now follows the confirmation: the next session
        // reads the record as the edit left it.
        OpenedRecord again = kind.open(stem);
        ASSERT_NE(again.doc, nullptr);
        ExpectReadAs(kind, *again.doc, state == Confirmation::None ? state : Confirmation::EditedAfter);
        EXPECT_EQ(*FieldsOf(kind, *again.doc).pConfirmText, TextAfterEdit(state, confirmDate));
    }
}

// The stamp and editor of each section, read from the saved record XML.
void ExpectTheSectionStampsOnDisk(const Kind& kind, bool additions)
{
    kind.write("sections", Confirmation::Confirmed);
    OpenedRecord opened = kind.open("sections");
    ASSERT_NE(opened.doc, nullptr);
    const _EDIT_STAMP_FIELDS f = FieldsOf(kind, *opened.doc);
    ASSERT_EQ(EditAsTheEditor(*opened.doc, f, opened.changeTest), CEditingOk::Outcome::Stored);
    const CString stamp = *f.pInfoStamp;
    ASSERT_EQ(stamp.GetLength(), 19);

    const std::string xml = kind.xml("sections");
    struct Section {
        const wchar_t* editor;   // the section's editor element, under /Rawdata/Tavrion
        bool stamped;
    };
    const Section sections[] = {
        {L"Inspection/Voktext_section/Patient_editor", true},
        {L"Comment/Voktext_section/Comment_editor", true},
        {L"Addition/Patient_add_section/Addition_editor", additions},
    };
    for (const Section& section : sections) {
        if (!section.stamped) continue;
        const CString path = CString(L"/Rawdata/Tavrion/") + section.editor;
        SCOPED_TRACE(CStringA(path).GetString());
        EXPECT_EQ(testsupport::ReadXmlValue(xml, path + L"/Editor_name"), kEditor);
        EXPECT_EQ(DateAt(xml, path + L"/Edit_date"), stamp);
    }
    EXPECT_EQ(DateAt(xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time"), stamp);
}

// ---- the kinds -----------------------------------------------------------------

class RestKinds : public resttest::RestDocFixture {
protected:
    Kind Rest()
    {
        return Kind{DOC_TYPE_REST,
                    [this](const std::string& stem, Confirmation state) {
                        morvelance::RestRecordShape shape = resttest::Shape(morvelance::rec::RecordKind::Rest12);
                        shape.xml = In(state);
                        m_written[stem] = morvelance::WriteRestRecord(m_dir.Path(), stem, shape);
                    },
                    [this](const std::string& stem) {
                        const morvelance::RestRecordFiles& files = m_written[stem];
                        auto doc = std::make_unique<CEverySectionChanged<CRestViewDoc>>();
                        doc->GetCtrlPosFromXSL(LOAD_POS_REST);
                        auto* item = doc->GetRestDataManager().AppendItem(
                            testsupport::NewRecordItem<_RESTDATAITEM>(files.record, files.xml));
                        if (testsupport::OpenRecord(*doc, {files.record, files.xml}) != 0) return OpenedRecord{};
                        doc->SetCurDataIndex(item->nID);
                        doc->SetCtrlContent(nullptr);
                        return Opened<CRestViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_written[stem].xml; }};
    }
    std::map<std::string, morvelance::RestRecordFiles> m_written;
};

class RhythmKinds : public rhythmtest::RhythmDocTest {
protected:
    Kind Rhythm()
    {
        return Kind{DOC_TYPE_RHYTHM,
                    [this](const std::string& stem, Confirmation state) {
                        rhythmtest::WriteRhythm(m_dir, stem, morvelance::RhythmRecordShape(), nullptr, In(state));
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<CRhythmViewDoc>>();
                        doc->GetCtrlPosFromXSL(LOAD_POS_REST);
                        doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
                        const rhythmtest::RhythmFiles files{m_dir.File(stem + ".ecg"), m_dir.File(stem + ".xml")};
                        if (Open(*doc, files, 3) != 0) return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<CRhythmViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_dir.File(stem + ".xml"); }};
    }
};

class RRKinds : public rrtest::RRDocTest {
protected:
    Kind RR()
    {
        return Kind{DOC_TYPE_RR,
                    [this](const std::string& stem, Confirmation state) {
                        rrtest::RRRecordPlan plan;
                        plan.xml = In(state);
                        m_written[stem] = Write(stem, plan);
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<rrtest::CTestRRDoc>>();
                        doc->GetCtrlPosFromXSL(LOAD_POS_RR);
                        if (!Reopen(*doc, m_written[stem])) return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<rrtest::CTestRRDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_written[stem].xml; }};
    }
    std::map<std::string, rrtest::RRFiles> m_written;
};

class FinalKinds : public finaltest::FinalDocTest {
protected:
    Kind MasterStep()
    {
        return Kind{DOC_TYPE_FINAL,
                    [this](const std::string& stem, Confirmation state) {
                        std::string xml;
                        m_records[stem] = Write(finaltest::SynthRecord(), &xml, stem, In(state));
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<CFinalViewDoc>>();
                        if (Open(*doc, m_records[stem], m_dir.File(stem + ".xml")) != 0) return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<CFinalViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_dir.File(stem + ".xml"); }};
    }
    std::map<std::string, std::string> m_records;
};

class ExtraKinds : public extratest::ExtraDocTest {
protected:
    Kind Extra()
    {
        return Kind{DOC_TYPE_EXTRA,
                    [this](const std::string& stem, Confirmation state) {
                        const morvelance::ExtraRecordOptions options;
                        m_made[stem] = Write(stem, options);
                        // The same record XML, in the state asked for.
                        morvelance::WriteXmlFile(m_made[stem].xml,
                                                 *morvelance::MakeExtraRecordXml(m_made[stem].made, options, In(state)),
                                                 morvelance::XmlEncoding::Utf8);
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<CExtraViewDoc>>();
                        doc->GetCtrlPosFromXSL(LOAD_POS_EXTRA);
                        if (!Load(*doc, m_made[stem], 3)) return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<CExtraViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_made[stem].xml; }};
    }
    std::map<std::string, extratest::RecordFiles> m_made;
};

class MferKinds : public mfertest::MferDocTest {
protected:
    static constexpr unsigned kCode = 0x800C;   // a plain 12-lead MFER record
    Kind Mfer()
    {
        return Kind{DOC_TYPE_MFER,
                    [this](const std::string& stem, Confirmation state) {
                        WriteMfer(stem + ".mwf", morvelance::MferKind::Plain, 12);
                        WriteXml(stem + ".xml", kCode, In(state));
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<CMFERViewDoc>>();
                        _MFERDATAITEM* item =
                            testsupport::NewRecordItem<_MFERDATAITEM>(m_dir.File(stem + ".mwf"), m_dir.File(stem + ".xml"));
                        item->nLeadLayout = 12;
                        doc->GetMFERDataManager()->AppendItem(item);
                        doc->SetCurDataIndex(item->nID);
                        CString mfer = item->strFilePath, xml = item->strXMLPath, third;
                        if (doc->OpenMFERFile(mfer, xml, third) != 0) return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<CMFERViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_dir.File(stem + ".xml"); }};
    }
};

class ExerKinds : public exertest::ExerDocument {
protected:
    Kind Exercise()
    {
        return Kind{DOC_TYPE_EXER,
                    [this](const std::string& stem, Confirmation state) {
                        Write(exertest::DefaultOptions(), nullptr, In(state), stem);
                    },
                    [this](const std::string& stem) {
                        auto doc = std::make_unique<CEverySectionChanged<CExerViewDoc>>();
                        if (Open(*doc, {m_dir.File(stem + ".ecg"), m_dir.File(stem + ".xml")}) != 0)
                            return OpenedRecord{};
                        doc->SetCtrlContent(nullptr);
                        return Opened<CExerViewDoc>(std::move(doc));
                    },
                    [this](const std::string& stem) { return m_dir.File(stem + ".xml"); }};
    }
};

}  // namespace

TEST_F(RestKinds, ARestingRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(Rest()); }
// The resting and rhythm records the maker writes do not flag their additions
// (no item 4108): the additions are never read, so no save writes them, stamp
// included; the record keeps them as it holds them.
TEST_F(RestKinds, ARestingRecordKeepsEachSectionsStampAndEditorOnDisk) { ExpectTheSectionStampsOnDisk(Rest(), false); }

TEST_F(RhythmKinds, ARhythmRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(Rhythm()); }
TEST_F(RhythmKinds, ARhythmRecordKeepsEachSectionsStampAndEditorOnDisk)
{
    ExpectTheSectionStampsOnDisk(Rhythm(), false);
}

TEST_F(RRKinds, AnRRRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(RR()); }
TEST_F(RRKinds, AnRRRecordKeepsEachSectionsStampAndEditorOnDisk) { ExpectTheSectionStampsOnDisk(RR(), true); }

TEST_F(FinalKinds, AMasterStepRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(MasterStep()); }
TEST_F(FinalKinds, AMasterStepRecordKeepsEachSectionsStampAndEditorOnDisk)
{
    ExpectTheSectionStampsOnDisk(MasterStep(), true);
}

TEST_F(ExtraKinds, AnExtraLeadRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(Extra()); }
TEST_F(ExtraKinds, AnExtraLeadRecordKeepsEachSectionsStampAndEditorOnDisk)
{
    ExpectTheSectionStampsOnDisk(Extra(), true);
}

TEST_F(MferKinds, AnMferRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(Mfer()); }
TEST_F(MferKinds, AnMferRecordKeepsEachSectionsStampAndEditorOnDisk) { ExpectTheSectionStampsOnDisk(Mfer(), true); }

// Exercise records have no additional information.
TEST_F(ExerKinds, AnExerciseRecordGetsTheConfirmationTextOfItsState) { ExpectTheConfirmationTexts(Exercise()); }
TEST_F(ExerKinds, AnExerciseRecordKeepsEachSectionsStampAndEditorOnDisk)
{
    ExpectTheSectionStampsOnDisk(Exercise(), false);
}
