// The annotation store: the chain handle, the record-XML section written and
// read back through real files, and the edit stamp with its dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "core/AnnoEditStamp.h"
#include "core/AnnoManager.h"
#include "core/DataItem.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEditor.h"
#include "tests/support/ModalScript.h"
#include "platform/base/DateTime.h"
#include "platform/ui/framework/ModalDriver.h"
#include "tests/support/TestSupport.h"
#include "tools/RecordXml.h"

using testsupport::TempDir;
using testsupport::Wide;

namespace {

const char kEmptyRecord[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata><Tavrion><Inspection/></Tavrion><Annotation/></Rawdata>\n";

const wchar_t kAnno1[] = L"/Rawdata/Annotation/Anno[1]";
const wchar_t kWave1[] = L"/Rawdata/Annotation/Anno[1]/Wave_info";

// A chain as an item holds it: a head record followed by annotations.
class Chain {
public:
    Chain() : m_head(new _ANNOTATION_INFO) { m_manager.SetListHeader(m_head); }
    ~Chain() { DeleteAnnotationChain(m_head); }

    _ANNOTATION_INFO* Head() const { return m_head; }
    CAnnoManager& Manager() { return m_manager; }
    _ANNOTATION_INFO* Add(int pageStyle)
    {
        _ANNOTATION_INFO* info = m_manager.AddItem();
        info->nPageStyle = pageStyle;
        return info;
    }

private:
    _ANNOTATION_INFO* m_head;
    CAnnoManager m_manager;
};

_SKETCH_INFO* AddShape(_ANNOTATION_SKETCH* area, int type)
{
    CAnnoManager manager;
    _SKETCH_INFO* shape = manager.AddSkecthItem(area);
    shape->nType = type;
    return shape;
}

std::string WriteRecord(const TempDir& dir, const char* bytes = kEmptyRecord)
{
    return dir.Write("record.xml", bytes);
}

void Save(const std::string& path, _ANNOTATION_INFO* head)
{
    CTavrionDoc doc;
    CECGXMLParser xml(Wide(path), 0, CString());
    doc.SaveAnnoInfoToXML(head, &xml);
}

void Load(const std::string& path, _ANNOTATION_INFO* head)
{
    CTavrionDoc doc;
    CECGXMLParser xml(Wide(path), 0, CString());
    doc.GetAnnoInfoFromXML(head, &xml);
}

// Reads what the file on disk holds now; "<none>" for a missing node.
class OnDisk {
public:
    explicit OnDisk(const std::string& path) : m_xml(Wide(path), 0, CString()) {}
    CString Text(const CString& xpath) { return Read(xpath, 4, CString()); }
    CString Attrib(const CString& xpath, LPCWSTR name) { return Read(xpath, 2, name); }
    int Count(const CString& xpath) { return m_xml.GetObjectCount(xpath); }

private:
    CString Read(const CString& xpath, int type, const CString& name)
    {
        CString value;
        return m_xml.GetDataFromXMLDOM(value, xpath, type, name) ? value : CString(L"<none>");
    }
    CECGXMLParser m_xml;
};

void FillWaveInfo(_ANNOTATION_INFO* info)
{
    info->nStartTime = 1200;
    info->sLeadSelection = 2;
    info->sLead1ch = 7;
    info->nFilter = 35;
    info->fSpeed = 50.0f;
    info->nSenseMode = 1;
    info->fLimbSense = 10.0f;
    info->fChestSense = 5.0f;
    info->fElseSense = 20.0f;
    info->fRhythmSense = 2.5f;
    info->nChestHalf = 1;
    info->fSerialSense = 10.0f;
    info->nSerialOverlap = 0;
    info->nDisplayMode = 3;
    info->strEditTime = L"2004/02/29 13:05:09";
    info->strEditorName = L"山田 太郎";
}

void ExpectSameWaveInfo(const _ANNOTATION_INFO& a, const _ANNOTATION_INFO& b)
{
    EXPECT_EQ(a.nPageStyle, b.nPageStyle);
    EXPECT_EQ(a.nStartTime, b.nStartTime);
    EXPECT_EQ(a.sLeadSelection, b.sLeadSelection);
    EXPECT_EQ(a.sLead1ch, b.sLead1ch);
    EXPECT_EQ(a.nFilter, b.nFilter);
    EXPECT_FLOAT_EQ(a.fSpeed, b.fSpeed);
    EXPECT_EQ(a.nSenseMode, b.nSenseMode);
    EXPECT_FLOAT_EQ(a.fLimbSense, b.fLimbSense);
    EXPECT_FLOAT_EQ(a.fChestSense, b.fChestSense);
    EXPECT_FLOAT_EQ(a.fElseSense, b.fElseSense);
    EXPECT_FLOAT_EQ(a.fRhythmSense, b.fRhythmSense);
    EXPECT_EQ(a.nChestHalf, b.nChestHalf);
    EXPECT_FLOAT_EQ(a.fSerialSense, b.fSerialSense);
    EXPECT_EQ(a.nSerialOverlap, b.nSerialOverlap);
    EXPECT_EQ(a.nDisplayMode, b.nDisplayMode);
    EXPECT_EQ(a.strEditTime, b.strEditTime);
    EXPECT_EQ(a.strEditorName, b.strEditorName);
}
}  // namespace

// ---- the chain handle --------------------------------------------------------

TEST(AnnoManager, CountsTheHeadIndexesAfterItAndDeletesMatches)
{
    Chain chain;
    _ANNOTATION_INFO* three = chain.Add(3);
    chain.Add(2);
    chain.Add(2);
    _ANNOTATION_INFO* five = chain.Add(5);
    CAnnoManager& manager = chain.Manager();
    EXPECT_EQ(manager.GetItemCount(), 5);
    EXPECT_EQ(manager.GetAt(0), three);
    EXPECT_EQ(manager.GetAt(4), nullptr);
    EXPECT_EQ(manager.GetAt(-1), nullptr);
    EXPECT_EQ(manager.DelItem(5), 0);
    EXPECT_EQ(manager.DeleteItem(9), 1);   // nothing matched: still 1 on a chain
    EXPECT_EQ(manager.DeleteItem(2), 1);   // adjacent matches both go
    EXPECT_EQ(manager.GetAt(1), five);
    EXPECT_EQ(manager.DelItem(1), 1);
    EXPECT_EQ(manager.GetAt(0), five);
    EXPECT_EQ(manager.DeleteItem(5), 1);
    EXPECT_EQ(manager.GetItemCount(), 1);

    CAnnoManager empty;
    EXPECT_EQ(empty.GetItemCount(), 0);
    EXPECT_EQ(empty.GetAt(0), nullptr);
    EXPECT_EQ(empty.DeleteItem(3), 0);
    EXPECT_EQ(empty.DelItem(0), 0);
    EXPECT_EQ(empty.AddSkecthItem(nullptr), nullptr);
}

// A handle appends after what it appended last; a record it deleted, or one
// appended through another handle, still leaves every append on the chain,
// in order (the shapes of an area likewise).
TEST(AnnoManager, AppendsAfterDeletionsAndOtherHandlesStayOnTheChainInOrder)
{
    Chain chain;
    chain.Add(1);
    chain.Add(2);
    CAnnoManager& manager = chain.Manager();
    EXPECT_EQ(manager.DelItem(2), 1);   // the record appended last
    _ANNOTATION_INFO* three = chain.Add(3);
    EXPECT_EQ(manager.GetAt(1), three);
    EXPECT_EQ(manager.DeleteItem(3), 1);
    CAnnoManager other;
    other.SetListHeader(chain.Head());
    _ANNOTATION_INFO* four = other.AddItem();
    _ANNOTATION_INFO* five = chain.Add(5);
    EXPECT_EQ(manager.GetItemCount(), 4);
    EXPECT_EQ(manager.GetAt(1), four);
    EXPECT_EQ(manager.GetAt(2), five);

    _ANNOTATION_SKETCH first;
    _ANNOTATION_SKETCH second;
    _SKETCH_INFO* a = manager.AddSkecthItem(&first);
    _SKETCH_INFO* b = manager.AddSkecthItem(&second);
    _SKETCH_INFO* c = other.AddSkecthItem(&first);
    _SKETCH_INFO* d = manager.AddSkecthItem(&first);
    EXPECT_EQ(first.pSketchHead, a);
    EXPECT_EQ(a->pNext, c);
    EXPECT_EQ(c->pNext, d);
    EXPECT_EQ(second.pSketchHead, b);
    EXPECT_EQ(b->pNext, nullptr);
}

// The head belongs to the item; deleting it through the handle would leave
// the item holding a freed record (the sanitizer build sees the difference).
TEST(AnnoManager, HeadOwnedByAnItemSurvivesDeleteByPageStyleAndIndex)
{
    auto item = std::make_unique<_DATAITEM>();
    item->pAnnoHead = new _ANNOTATION_INFO;
    CAnnoManager manager;
    manager.SetListHeader(item->pAnnoHead);
    manager.AddItem();   // page style -1, like the head
    _ANNOTATION_INFO* four = manager.AddItem();
    four->nPageStyle = 4;

    EXPECT_EQ(manager.DelItem(0), 0);
    EXPECT_EQ(manager.GetItemCount(), 3);
    EXPECT_EQ(manager.DeleteItem(-1), 1);
    EXPECT_EQ(manager.GetListHeader(), item->pAnnoHead);
    EXPECT_EQ(manager.GetItemCount(), 2);
    EXPECT_EQ(manager.GetAt(0), four);
    item.reset();   // frees the head and the page-style-4 record once each
}

// ---- the record-XML section ----------------------------------------------------

TEST(AnnotationXml, TwoAnnotationsRoundTripAfterTheHead)
{
    TempDir dir;
    const std::string path = WriteRecord(dir);
    Chain chain;
    _ANNOTATION_INFO* three = chain.Add(3);
    FillWaveInfo(three);
    _ANNOTATION_SKETCH* area = three->AddArea();
    area->nPageStyle = 3;
    _SKETCH_INFO* text = AddShape(area, 10);
    text->strText = L"ST上昇 & <確認>";
    text->lfFont.lfHeight = 18;
    text->nLineWidth = 2;
    text->crColor = RGB(64, 128, 255);
    _SKETCH_INFO* line = AddShape(area, 3);
    line->strText = L"not written";
    for (int i = 0; i < 3; ++i) {
        line->arrX.Add(0.5f * i);
        line->arrY.Add(100.0f - i);
    }
    chain.Add(5)->AddArea()->nPageStyle = 8;
    Save(path, chain.Head());

    OnDisk disk(path);
    const CString label1 = CString(kAnno1) + L"/Area[1]/Label[1]";
    const CString label2 = CString(kAnno1) + L"/Area[1]/Label[2]";
    EXPECT_EQ(disk.Count(L"/Rawdata/Annotation/Anno"), 2);
    EXPECT_EQ(disk.Attrib(kAnno1, L"Page_style"), L"3");
    EXPECT_EQ(disk.Text(label1 + L"/Text_size"), L"18");
    EXPECT_EQ(disk.Attrib(label1 + L"/Color", L"style"), L"color");
    EXPECT_EQ(disk.Attrib(label1 + L"/Color", L"r") + disk.Attrib(label1 + L"/Color", L"g") +
                  disk.Attrib(label1 + L"/Color", L"b"),
              L"64128255");
    EXPECT_EQ(disk.Count(label1 + L"/Point"), 1);   // written also without points
    EXPECT_EQ(disk.Text(label2 + L"/Text"), L"<none>");
    EXPECT_EQ(disk.Text(label2 + L"/Text_size"), L"<none>");
    EXPECT_EQ(disk.Attrib(label2 + L"/Point/Point_element[2]", L"x"), L"0.50");

    Chain read;
    Load(path, read.Head());
    ASSERT_EQ(read.Manager().GetItemCount(), 3);
    EXPECT_EQ(read.Head()->nPageStyle, -1);   // the head itself is never filled
    const _ANNOTATION_INFO* back = read.Manager().GetAt(0);
    ExpectSameWaveInfo(*back, *three);
    ASSERT_EQ(back->GetAreaCount(), 1);
    EXPECT_EQ(back->GetArea(0)->nPageStyle, 3);
    const _SKETCH_INFO* backText = back->GetArea(0)->pSketchHead;
    ASSERT_NE(backText, nullptr);
    EXPECT_EQ(backText->nType, 10);
    EXPECT_EQ(backText->strText, text->strText);
    EXPECT_EQ(backText->lfFont.lfHeight, 18);
    EXPECT_EQ(backText->nLineWidth, 2);
    EXPECT_EQ(backText->crColor, RGB(64, 128, 255));
    const _SKETCH_INFO* backLine = backText->pNext;
    ASSERT_NE(backLine, nullptr);
    EXPECT_EQ(backLine->strText, L"");
    ASSERT_EQ(backLine->arrX.GetSize(), 3);
    ASSERT_EQ(backLine->arrY.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(backLine->arrX[i], 0.5f * i);
        EXPECT_FLOAT_EQ(backLine->arrY[i], 100.0f - i);
    }
    const _ANNOTATION_INFO* backFive = read.Manager().GetAt(1);
    EXPECT_EQ(backFive->nPageStyle, 5);
    ASSERT_EQ(backFive->GetAreaCount(), 1);
    EXPECT_EQ(backFive->GetArea(0)->nPageStyle, 8);
    EXPECT_EQ(backFive->GetArea(0)->pSketchHead, nullptr);
}

TEST(AnnotationXml, WaveInfoElementsAreWrittenOnlyForValuesThatAreSet)
{
    // Each row: the speed and the serial sensitivity with its chest-half flag.
    struct Row {
        float speed;
        float serial;
        int chestHalf;
        const wchar_t* speedText;   // "<none>" when no element is written
        const wchar_t* serialText;
        const wchar_t* chestHalfText;
    };
    static const Row kRows[] = {
        {-1.0f, 10.0f, 1, L"<none>", L"10.00", L"1"},
        {25.0f, 10.0f, -1, L"25.00", L"10.00", L"<none>"},
        {12.5f, -1.0f, 0, L"12.50", L"", L"0"},
        {-1.0f, -1.0f, -1, L"<none>", L"<none>", L"<none>"},
    };
    for (const Row& row : kRows) {
        TempDir dir;
        const std::string path = WriteRecord(dir);
        Chain chain;
        _ANNOTATION_INFO* info = chain.Add(2);
        info->AddArea();
        info->fSpeed = row.speed;
        info->fSerialSense = row.serial;
        info->nChestHalf = row.chestHalf;
        Save(path, chain.Head());
        SCOPED_TRACE(testing::Message() << "speed " << row.speed << ", serial " << row.serial << ", chest half "
                                        << row.chestHalf);
        OnDisk disk(path);
        const CString wave = kWave1;
        EXPECT_EQ(disk.Text(wave + L"/Speed"), row.speedText);
        EXPECT_EQ(disk.Text(wave + L"/Sensitivity/Serial"), row.serialText);
        EXPECT_EQ(disk.Attrib(wave + L"/Sensitivity/Serial", L"chest_half"), row.chestHalfText);
        EXPECT_EQ(disk.Count(wave + L"/Start_time"), 0);
        EXPECT_EQ(disk.Count(wave + L"/Editor_name"), 1);   // written always, also when empty
        EXPECT_EQ(disk.Attrib(wave + L"/Edit_time", L"year"), L"");
    }
}

// A record maker's record, its annotations read, the first one's serial
// sensitivity taken away with the chest-half flag kept: the empty "Serial"
// element it is saved with reads back as not set, so saving again leaves the
// file byte for byte as the first save wrote it.
TEST(AnnotationXml, AnEmptySerialReadsBackAsNotSetAndASecondSaveKeepsTheFile)
{
    TempDir dir;
    const std::string path = dir.File("rest.xml");
    morvelance::WriteSampleRecordXml(path, morvelance::rec::RecordKind::Rest12);
    Chain opened;
    Load(path, opened.Head());
    ASSERT_GE(opened.Manager().GetItemCount(), 2) << "the sample record carries annotations";
    _ANNOTATION_INFO* edited = opened.Manager().GetAt(0);
    ASSERT_GT(edited->GetAreaCount(), 0);
    edited->fSerialSense = -1.0f;
    edited->nChestHalf = 0;
    Save(path, opened.Head());
    const std::string firstSave = testsupport::ReadFileBytes(path);
    {
        OnDisk disk(path);
        EXPECT_EQ(disk.Text(CString(kWave1) + L"/Sensitivity/Serial"), L"");
        EXPECT_EQ(disk.Attrib(CString(kWave1) + L"/Sensitivity/Serial", L"chest_half"), L"0");
    }

    Chain reread;
    Load(path, reread.Head());
    ASSERT_EQ(reread.Manager().GetItemCount(), opened.Manager().GetItemCount());
    const _ANNOTATION_INFO* back = reread.Manager().GetAt(0);
    EXPECT_EQ(back->fSerialSense, -1.0f);
    EXPECT_EQ(back->nChestHalf, 0);
    ExpectSameWaveInfo(*back, *edited);

    Save(path, reread.Head());
    EXPECT_TRUE(testsupport::ReadFileBytes(path) == firstSave) << "the second save changed the file";
    EXPECT_EQ(OnDisk(path).Text(CString(kWave1) + L"/Sensitivity/Serial"), L"");
}

// An annotation whose shapes were all removed is written as its page style
// alone and reads back with nothing set; sensitivities without a mode still
// find their parent element.
TEST(AnnotationXml, AnAnnotationWithoutAreasKeepsOnlyItsPageStyle)
{
    TempDir dir;
    const std::string path = WriteRecord(dir);
    Chain chain;
    _ANNOTATION_INFO* full = chain.Add(6);
    FillWaveInfo(full);
    _ANNOTATION_INFO* noMode = chain.Add(7);
    noMode->AddArea();
    noMode->fLimbSense = 5.0f;
    noMode->fRhythmSense = 20.0f;
    Save(path, chain.Head());
    OnDisk disk(path);
    EXPECT_EQ(disk.Attrib(kAnno1, L"Page_style"), L"6");
    EXPECT_EQ(disk.Count(CString(kAnno1) + L"/*"), 0);
    EXPECT_EQ(disk.Attrib(L"/Rawdata/Annotation/Anno[2]/Wave_info/Sensitivity", L"mode"), L"<none>");

    {
        CECGXMLParser xml(Wide(path), 0, CString());
        EXPECT_EQ(xml.SaveAnnotation(full, kAnno1), 0);
        EXPECT_EQ(xml.SaveAnnotation(noMode, L"/Rawdata/Annotation/Anno[2]"), 1);
    }

    Chain read;
    Load(path, read.Head());
    ASSERT_EQ(read.Manager().GetItemCount(), 3);
    _ANNOTATION_INFO unset;
    unset.nPageStyle = 6;
    ExpectSameWaveInfo(*read.Manager().GetAt(0), unset);
    EXPECT_EQ(read.Manager().GetAt(0)->GetAreaCount(), 0);
    ExpectSameWaveInfo(*read.Manager().GetAt(1), *noMode);
}

TEST(AnnotationXml, EditTimeIsADateElement)
{
    TempDir dir;
    const std::string path = WriteRecord(dir);
    Chain chain;
    for (const auto& [style, time] : {std::pair<int, LPCWSTR>{1, L"2004/02/29 13:05:09"}, {2, L"yesterday"}}) {
        _ANNOTATION_INFO* info = chain.Add(style);
        info->AddArea();
        info->strEditTime = time;
    }
    Save(path, chain.Head());

    OnDisk disk(path);
    const CString edit1 = CString(kWave1) + L"/Edit_time";
    CString written;
    for (LPCWSTR name : {L"style", L"year", L"month", L"day", L"hour", L"minute", L"second"}) {
        written += disk.Attrib(edit1, name) + L" ";
    }
    EXPECT_EQ(written, L"Date 2004 02 29 13 05 09 ");
    EXPECT_EQ(disk.Attrib(edit1, L"milliseconds"), L"<none>");
    EXPECT_EQ(disk.Attrib(L"/Rawdata/Annotation/Anno[2]/Wave_info/Edit_time", L"day"), L"");

    Chain read;
    Load(path, read.Head());
    EXPECT_EQ(read.Manager().GetAt(0)->strEditTime, L"2004/02/29 13:05:09");
    EXPECT_EQ(read.Manager().GetAt(1)->strEditTime, L"");
}

TEST(AnnotationXml, ReadingIgnoresTextOfNonTextShapesAndHalfPoints)
{
    TempDir dir;
    const std::string path = WriteRecord(dir,
                                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                         "<Rawdata><Annotation><Anno Page_style=\"1\"><Area Page_style=\"1\">"
                                         "<Label><Type>3</Type><Text>stray</Text><Text_size>40</Text_size>"
                                         "<Color style=\"color\" r=\"1\" g=\"2\"/>"
                                         "<Point><Point_element x=\"1.5\" y=\"2.5\"/><Point_element x=\"9\"/>"
                                         "<Point_element y=\"9\"/><Point_element x=\"3\" y=\"4\"/></Point>"
                                         "</Label><Label/></Area></Anno></Annotation></Rawdata>\n");
    Chain read;
    Load(path, read.Head());
    const _ANNOTATION_INFO* back = read.Manager().GetAt(0);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetAreaCount(), 1);
    const _SKETCH_INFO* shape = back->GetArea(0)->pSketchHead;
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->strText, L"");
    EXPECT_EQ(shape->lfFont.lfHeight, 12);
    EXPECT_EQ(shape->crColor, 0u);   // a colour without "b" leaves the default
    // A point without both coordinates is dropped: the arrays stay paired.
    ASSERT_EQ(shape->arrX.GetSize(), 2);
    ASSERT_EQ(shape->arrY.GetSize(), 2);
    EXPECT_FLOAT_EQ(shape->arrX[1], 3.0f);
    EXPECT_FLOAT_EQ(shape->arrY[1], 4.0f);
    ASSERT_NE(shape->pNext, nullptr);   // an empty label is a shape with every default
    EXPECT_EQ(shape->pNext->nLineWidth, 1);
}

TEST(AnnotationXml, SavingReplacesTheWholeSection)
{
    TempDir dir;
    const std::string path = WriteRecord(
        dir,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Rawdata><Tavrion><Inspection><Patient_section><Patient_id>A-1</Patient_id></Patient_section></Inspection>"
        "</Tavrion><Annotation><Anno Page_style=\"1\"/><Anno Page_style=\"2\"/><Anno Page_style=\"3\"/>"
        "</Annotation></Rawdata>\n");
    Chain chain;
    chain.Add(9)->AddArea();
    Save(path, chain.Head());
    EXPECT_EQ(OnDisk(path).Count(L"/Rawdata/Annotation/Anno"), 1);
    EXPECT_EQ(OnDisk(path).Attrib(kAnno1, L"Page_style"), L"9");
    EXPECT_EQ(OnDisk(path).Text(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"), L"A-1");

    Chain headOnly;
    Save(path, headOnly.Head());
    EXPECT_EQ(OnDisk(path).Count(L"/Rawdata/Annotation/Anno"), 0);

    // A record written before anyone annotated it gets its section.
    const std::string bare = dir.Write("bare.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Rawdata/>\n");
    Save(bare, chain.Head());
    EXPECT_EQ(OnDisk(bare).Attrib(kAnno1, L"Page_style"), L"9");
}

TEST(AnnotationXml, NullArgumentsAndUnreadableFilesChangeNothing)
{
    TempDir dir;
    const std::string path = WriteRecord(dir);
    CTavrionDoc doc;
    CECGXMLParser xml(Wide(path), 0, CString());
    Chain chain;
    doc.GetAnnoInfoFromXML(nullptr, &xml);
    doc.GetAnnoInfoFromXML(chain.Head(), nullptr);
    doc.SaveAnnoInfoToXML(chain.Head(), nullptr);
    EXPECT_EQ(xml.GetAnnotation(nullptr, kAnno1), 0);
    EXPECT_EQ(xml.SaveAnnotation(nullptr, kAnno1), 0);

    const std::string broken = dir.Write("broken.xml", "<Rawdata><Annotation><Anno Page_style=\"1\">");
    Load(broken, chain.Head());
    EXPECT_EQ(chain.Manager().GetItemCount(), 1);
    chain.Add(3)->AddArea();
    Save(broken, chain.Head());
    EXPECT_EQ(testsupport::ReadFileBytes(broken), "<Rawdata><Annotation><Anno Page_style=\"1\">");
}

// ---- the edit stamp ----------------------------------------------------------------

TEST(AnnoEditStamp, StampTakesTheGivenNameAndACancelledDialogChangesNothing)
{
    _ANNOTATION_INFO info;
    info.strEditTime = L"2001/01/01 00:00:00";
    EXPECT_EQ(SaveAnnoEditTimeAndName(nullptr, L"name", nullptr, nullptr), 0);
    EXPECT_EQ(SaveAnnoEditTimeAndName(&info, L"鈴木", nullptr, nullptr), 1);
    EXPECT_EQ(info.strEditorName, L"鈴木");
    EXPECT_EQ(info.strEditTime, L"2001/01/01 00:00:00");

    const unsigned open = g_uDlgCount;
    {
        platform::ui::ModalDriverScope driver([&](CDialog& dialog) {
            EXPECT_EQ(dialog.GetTemplateId(), 119u);
            EXPECT_EQ(g_uDlgCount, open + 1);
            testsupport::ClickControl(dialog, IDCANCEL);
        });
        EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), nullptr, nullptr), 0);
    }
    EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), nullptr, nullptr), 0);   // nobody there: cancelled
    EXPECT_EQ(info.strEditorName, L"鈴木");
    EXPECT_EQ(info.strEditTime, L"2001/01/01 00:00:00");
    EXPECT_EQ(g_uDlgCount, open);
}

TEST(AnnoEditStamp, ConfirmedDialogStampsNameAndLocalTime)
{
    _ANNOTATION_INFO info;
    CTavrionDoc doc;
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"鈴木");
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"高橋");
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) {
        testsupport::ChooseListEntry(dialog, 3485, 1);
        testsupport::ClickControl(dialog, IDOK);
    });
    const COleDateTime before = COleDateTime::GetCurrentTime();
    EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), nullptr, &doc), 1);
    const COleDateTime after = COleDateTime::GetCurrentTime();
    EXPECT_EQ(info.strEditorName, L"高橋");
    ASSERT_EQ(info.strEditTime.GetLength(), 19);
    COleDateTime stamped;
    ASSERT_TRUE(stamped.ParseDateTime(info.strEditTime));
    // The stamp has whole seconds; the clock may be anywhere inside the second.
    EXPECT_GE(stamped, before - COleDateTimeSpan(0, 0, 0, 1));
    EXPECT_LE(stamped, after + COleDateTimeSpan(0, 0, 0, 1));
}

// The stamp lives below the dialogs: it asks through the prompt the dialogs
// hand down when the library loads, which is the editor-name dialog itself.
TEST(AnnoEditStamp, AsksThroughTheEditorDialogHandedDownWithItsParentAndDocument)
{
    CTavrionDoc doc;
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"中村");
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"view", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    _ANNOTATION_INFO info;
    {
        testsupport::ModalScript script;
        script.On(CDlgEditor::IDD, [&owner](CDialog& dialog) {
            EXPECT_EQ(::GetParent(dialog.m_hWnd) ? ::GetParent(dialog.m_hWnd) : ::GetWindow(dialog.m_hWnd, GW_OWNER),
                      owner.m_hWnd);
            testsupport::ClickControl(dialog, IDOK);
        });
        EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), &owner, &doc), 1);
        EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgEditor::IDD});
    }
    EXPECT_EQ(info.strEditorName, L"中村");

    // Another prompt replaces it for as long as it is installed; without
    // any, the stamp counts as not confirmed.
    std::vector<std::pair<CWnd*, CTavrionDoc*>> asked;
    const EditorNamePrompt dialogPrompt = SetEditorNamePrompt([&asked](CWnd* parent, CTavrionDoc* d, CString& name) {
        asked.emplace_back(parent, d);
        name = L"代理";
        return true;
    });
    ASSERT_TRUE(dialogPrompt);
    EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), &owner, &doc), 1);
    EXPECT_EQ(info.strEditorName, L"代理");
    EXPECT_EQ(asked, (std::vector<std::pair<CWnd*, CTavrionDoc*>>{{&owner, &doc}}));
    SetEditorNamePrompt(nullptr);
    EXPECT_EQ(SaveAnnoEditTimeAndName(&info, CString(), &owner, &doc), 0);
    SetEditorNamePrompt(dialogPrompt);
    EXPECT_EQ(info.strEditorName, L"代理");
    owner.DestroyWindow();
}
