// Saving MFER records: edits made through the store go into the record XML
// and come back when the record is opened again; the MFER file is never
// written.
#include "core/ECGXMLParser.h"
#include "tests/documents/MFERViewDocFixture.h"

using morvelance::MferKind;
using mfertest::Edit;
using mfertest::MferDocTest;
using mfertest::Utf8;

namespace {

const wchar_t* const kMinnesotas = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
const wchar_t* const kIvrels = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";
const wchar_t* const kAdditions = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content";

int Count(const _MFERDATAITEM* item, const wchar_t* xpath)
{
    return testsupport::XmlCount(Utf8(item->strXMLPath), xpath);
}

CString Read(const _MFERDATAITEM* item, const CString& xpath, const CString& attrib = CString())
{
    return testsupport::ReadXmlValue(Utf8(item->strXMLPath), xpath, attrib, L"(none)");
}

}  // namespace

TEST_F(MferDocTest, EditsSaveAndComeBackInANewDocument)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    const std::string mferBytes = Text(Utf8(item->strFilePath));
    m_doc->SetCtrlContent(nullptr);
    Edit(*m_doc, 3003, L"佐藤 一郎");
    Edit(*m_doc, 3035, L"胸痛");
    Edit(*m_doc, 3049, L"鈴木");
    Edit(*m_doc, 4017, L"一行目\r\n二行目");
    Edit(*m_doc, 3631, L"1960");
    Edit(*m_doc, 3633, L"02");
    Edit(*m_doc, 3635, L"29");
    Edit(*m_doc, 3971, L"題一");
    for (UINT r = 0; r < 8; ++r) Edit(*m_doc, 3062 + r, L"");
    Edit(*m_doc, 3062, L"1-1-1");
    Edit(*m_doc, 3063, L"4-2");
    EXPECT_EQ(1, m_doc->IsEidtChange());
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(mferBytes, Text(Utf8(item->strFilePath)));

    // The two rows held and no empty one; IVREL rows and additions as they were.
    EXPECT_EQ(2, Count(item, kMinnesotas));
    EXPECT_EQ(CString(L"(none)"), Read(item, CString(kMinnesotas) + L"[@number='3']", L"title"));
    EXPECT_EQ(11, Count(item, kIvrels));
    EXPECT_EQ(3, Count(item, kAdditions));

    const CString mfer = item->strFilePath, xml = item->strXMLPath, ivrel5 = item->stInterpre.strIvrelCode[5];
    m_doc.reset(new CMFERViewDoc);
    _MFERDATAITEM* again = AddItem(Utf8(mfer), Utf8(xml), 12);
    ASSERT_EQ(0, Open(again));
    const _INTERPRE_INFO_REST& info = again->stInterpre;
    EXPECT_EQ(CString(L"佐藤 一郎"), again->stPatient.strName);
    EXPECT_EQ(CString(L"胸痛"), info.strSympton);
    EXPECT_EQ(CString(L"鈴木"), info.strTechnician);
    EXPECT_EQ(CString(L"一行目\r\n二行目"), info.strComment);
    EXPECT_EQ(CString(L"1960"), info.stBirthday.strYear);
    EXPECT_EQ(CString(L"29"), info.stBirthday.strDay);
    EXPECT_EQ(2, info.nMinneCount);
    EXPECT_EQ(CString(L"4-2"), info.strMinneCode[1]);
    EXPECT_EQ(CString(L"題一"), again->stAddition.strTitle[0]);
    EXPECT_EQ(3, again->stAddition.nCount);
    EXPECT_FALSE(ivrel5.IsEmpty());
    EXPECT_EQ(ivrel5, info.strIvrelCode[5]);
    EXPECT_EQ(CString(L"156"), again->stMeasure.strGlobal[1]);
    EXPECT_FALSE(again->stPatient.strReserved.IsEmpty());   // the patient edit time survives
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->IsEidtChange());
}

// The form holds 8 Minnesota and 11 IVREL rows and reads those of a longer
// record; the rows past them, which no form shows or edits, were dropped by
// every save. They now outlive a save as stored, after the form's rows.
TEST_F(MferDocTest, CodeRowsPastTheFormsRowsOutliveASaveAsStored)
{
    morvelance::RecordXmlOptions options;
    options.minnesotaRows = 10;
    options.ivrelRows = 14;
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 15, 0x800F, 15, options);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(8, item->stInterpre.nMinneCount);
    EXPECT_EQ(11, item->stInterpre.nIvrelCount);
    const CString judge = Read(item, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"value");
    const CString tenth = Read(item, CString(kMinnesotas) + L"[10]", L"title");
    const CString fourteenth = Read(item, CString(kIvrels) + L"[14]");
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(10, Count(item, kMinnesotas));
    EXPECT_EQ(14, Count(item, kIvrels));
    EXPECT_EQ(tenth, Read(item, CString(kMinnesotas) + L"[@number='10']", L"title"));
    EXPECT_EQ(fourteenth, Read(item, CString(kIvrels) + L"[@number='14']"));
    EXPECT_EQ(judge, Read(item, L"/Rawdata/Tavrion/Analysis/Analysis_section/Judgement", L"value"));
    // Hand-made counts beyond the arrays write no more form rows than the form has.
    item->stInterpre.nMinneCount = 10;
    item->stInterpre.nIvrelCount = 40;
    m_doc->SetCurDataIndex(-1);   // save the item as it is
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(10, Count(item, kMinnesotas));
    EXPECT_EQ(14, Count(item, kIvrels));
}

TEST_F(MferDocTest, BirthdayIsSavedOnEveryFormAndAnImpossibleOneEmpty)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    const CString birthday = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";
    m_doc->SetPageStyle(50);
    m_doc->SetCtrlContent(nullptr);
    Edit(*m_doc, 3631, L"1971");
    Edit(*m_doc, 3633, L"03");
    Edit(*m_doc, 3635, L"04");
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(CString(L"1971"), Read(item, birthday, L"year"));
    EXPECT_EQ(CString(L"04"), Read(item, birthday, L"day"));

    m_doc->SetPageStyle(1);
    m_doc->SetCtrlContent(nullptr);
    Edit(*m_doc, 3633, L"13");
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(CString(L""), Read(item, birthday, L"year"));
    EXPECT_EQ(CString(L""), Read(item, birthday, L"month"));
    EXPECT_EQ(CString(L""), Read(item, birthday, L"day"));
}

// A 12- or 15-lead record has both forms, the page style showing one: an
// edit made on the other is taken, and the next save from the shown form,
// of another field, keeps it (the shown form was told of it), whichever
// form is shown.
TEST_F(MferDocTest, AnEditOnTheFormNotShownOutlivesTheNextSaveFromTheShownForm)
{
    const CString symptom = L"/Rawdata/Tavrion/Inspection/Patient_section/Symptom";
    const CString technician = L"/Rawdata/Tavrion/Inspection/Patient_section/Technician";
    const struct {
        int pageStyle;        // 1 shows the resting form, 50 the rhythm one
        UINT hiddenSymptom;   // the symptom on the form not shown
        UINT shownTechnician;
    } cases[] = {{1, 3641, 3049}, {50, 3035, 3655}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pageStyle);
        _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
        ASSERT_NE(nullptr, item);
        m_doc->SetPageStyle(c.pageStyle);
        m_doc->SetCtrlContent(nullptr);
        Edit(*m_doc, c.hiddenSymptom, L"胸痛");
        EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
        EXPECT_EQ(CString(L"胸痛"), Read(item, symptom));
        Edit(*m_doc, c.shownTechnician, L"鈴木");
        EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
        EXPECT_EQ(CString(L"鈴木"), Read(item, technician));
        EXPECT_EQ(CString(L"胸痛"), Read(item, symptom));
        EXPECT_EQ(CString(L"胸痛"), item->stInterpre.strSympton);
    }
}

TEST_F(MferDocTest, MeasurementsSaveOnlyForTwelveAndFifteenLeads)
{
    _MFERDATAITEM* strip = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, strip);
    const std::string before = Text(Utf8(strip->strXMLPath));
    EXPECT_EQ(255, m_doc->SaveMsuDataToXML(strip));
    EXPECT_EQ(before, Text(Utf8(strip->strXMLPath)));
    EXPECT_EQ(255, m_doc->SaveMsuDataToXML(nullptr));

    // A rhythm-form record writes its analysis editor to the fixed path.
    strip->stInterpre.strAnaEditor = L"渡辺";
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(strip->nID));
    EXPECT_EQ(CString(L"渡辺"), Read(strip, L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name"));

    _MFERDATAITEM* extra = OpenKind(MferKind::Extra3, 3, 0x7003, 3);
    ASSERT_NE(nullptr, extra);
    extra->stMeasure.strGlobal[1] = L"999";
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(extra->nID));
    EXPECT_EQ(CString(L"(none)"), Read(extra, L"/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int"));

    _MFERDATAITEM* rest = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, rest);
    rest->stMeasure.strGlobal[1] = L"170";
    rest->stInterpre.strAnaEditDate = L"2024/05/06 07:08:09";
    EXPECT_EQ(0, m_doc->SaveMsuDataToXML(rest));
    EXPECT_EQ(CString(L"170"), Read(rest, L"/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int"));
    EXPECT_EQ(CString(L"2024"), Read(rest, L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date", L"year"));
}

// The record-wide measurements of the rest form, as the reader takes them:
// a PR interval of "0156" and a QT interval the record lacks (read as
// "****") stay as the record XML has them through a save of the form and a
// store of the measurements, neither of which changed them.
TEST_F(MferDocTest, RecordWideMeasurementsThatStillReadAsStoredStayAsStoredAbsentIncluded)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    const CString mfer = item->strFilePath, xml = item->strXMLPath;
    const CString section = L"/Rawdata/Tavrion/Measurement/Measurement_section";
    {
        CECGXMLParser parser(xml, 0, CString());
        parser.SetDataToXMLDOM(L"0156", section + L"/Pr_int", 4, CString());
        while (parser.RemoveNode(section + L"/Qt_int")) {
        }
        parser.SaveToXMLFile();
    }
    m_doc.reset(new CMFERViewDoc);
    _MFERDATAITEM* again = AddItem(Utf8(mfer), Utf8(xml), 12);
    ASSERT_EQ(0, Open(again));
    EXPECT_EQ(CString(L"****"), again->stMeasure.strGlobal[3]);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(again->nID));
    EXPECT_EQ(0, m_doc->SaveMsuDataToXML(again));
    EXPECT_EQ(CString(L"0156"), Read(again, section + L"/Pr_int"));
    EXPECT_EQ(CString(L"(none)"), Read(again, section + L"/Qt_int"));
}

TEST_F(MferDocTest, SavingRefusesWhatItCannotWrite)
{
    EXPECT_EQ(255, m_doc->SaveDataToXML(0));
    EXPECT_EQ(255, m_doc->SaveAnnotationToXML(0));
    _MFERDATAITEM* bare = AddItem(WriteMfer("bare.mwf", MferKind::Plain, 12, 0.5), std::string(), 12);
    ASSERT_EQ(0, Open(bare));
    EXPECT_EQ(255, m_doc->SaveDataToXML(bare->nID));
    EXPECT_EQ(255, m_doc->SaveAnnotationToXML(bare->nID));
    EXPECT_EQ(255, m_doc->SaveMsuDataToXML(bare));

    // A record that did not open leaves its record XML alone.
    const std::string xml = WriteXml("two.xml", 0x800C);
    _MFERDATAITEM* two = AddItem(WriteMfer("two.mwf", MferKind::Plain, 2, 0.5), xml, 12);
    EXPECT_EQ(255, Open(two));
    const std::string before = Text(xml);
    EXPECT_EQ(255, m_doc->SaveDataToXML(two->nID));
    EXPECT_EQ(before, Text(xml));
}

TEST_F(MferDocTest, AdditionsThatWereNeverReadAreNotRemoved)
{
    // A record XML without an additions section keeps none; one with
    // additions keeps them through a save that did not touch them.
    morvelance::RecordXmlOptions none;
    none.omit = {morvelance::XmlSection::Additions};
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 3, 0x8003, 3, none);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(0, item->stAddition.bPresent);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(item->nID));
    EXPECT_EQ(0, Count(item, kAdditions));

    _MFERDATAITEM* kept = OpenKind(MferKind::Extra6x3x2, 6, 0x7006, 6);
    ASSERT_NE(nullptr, kept);
    m_doc->SetCtrlContent(nullptr);
    EXPECT_EQ(0, m_doc->SaveDataToXML(kept->nID));
    EXPECT_EQ(3, Count(kept, kAdditions));
    EXPECT_EQ(kept->stAddition.strTitle[2], Read(kept, CString(kAdditions) + L"[@number='3']", L"title"));
}

TEST_F(MferDocTest, AnnotationsSaveAndReadBack)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    ASSERT_NE(nullptr, item->pAnnoHead->pNext);
    item->pAnnoHead->pNext->strEditorName = L"中村";
    EXPECT_EQ(0, m_doc->SaveAnnotationToXML(item->nID));
    ASSERT_EQ(0, Open(item));
    ASSERT_NE(nullptr, item->pAnnoHead->pNext);
    EXPECT_EQ(CString(L"中村"), item->pAnnoHead->pNext->strEditorName);
}
