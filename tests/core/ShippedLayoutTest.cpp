// The layout stylesheet the installation ships (resources/workdir/Tavrion.xsl,
// copied into the build's work directory): every table loads, every control
// finds its element, and every field's bound record-XML path is one that a
// saver's write and a reader's read meet at.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/LayoutNames.h"
#include "core/TavrionDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RecordXml.h"

using testsupport::TempDir;
using testsupport::Wide;

namespace {

std::string Describe(LayoutTable table, int index)
{
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(table);
    return std::string(CStringA(names->pszTemplate).GetString()) + "/" +
           CStringA(names->ppszNames[index]).GetString() + " (entry " + std::to_string(index) + ")";
}

class ShippedLayout : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        for (int type = LOAD_POS_REST; type <= LOAD_POS_EXER_PRINT; ++type)
            m_doc.GetCtrlPosFromXSL(static_cast<_LOAD_POSITION_TYPE>(type));
    }

    // Every distinct bound path of the tables (of all of them by default).
    static std::set<std::wstring> AllBoundPaths(std::vector<LayoutTable> tables = std::vector<LayoutTable>())
    {
        if (tables.empty()) {
            for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) tables.push_back(static_cast<LayoutTable>(t));
        }
        std::set<std::wstring> paths;
        for (LayoutTable table : tables) {
            const _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
            for (int i = 0; i < GetLayoutTableNames(table)->nCount; ++i) {
                for (INT_PTR n = 0; n < entries[i].arrXmlPath.GetSize(); ++n)
                    paths.insert(entries[i].arrXmlPath[n].GetString());
            }
        }
        return paths;
    }

    CTavrionDoc m_doc;
};

}  // namespace

TEST_F(ShippedLayout, EveryTableLoadsAndEveryControlFindsItsElement)
{
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) {
        const LayoutTable table = static_cast<LayoutTable>(t);
        EXPECT_EQ(*GetLayoutLoadedFlag(g_stDefCtrlPos, table), 1) << GetLayoutTableNames(table)->pszTemplate;
        const _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
        for (int i = 0; i < GetLayoutTableNames(table)->nCount; ++i) {
            const _POSITION_CTRL& entry = entries[i];
            EXPECT_GE(entry.nLeft, 0) << Describe(table, i);
            EXPECT_GE(entry.nTop, 0) << Describe(table, i);
            EXPECT_GT(entry.nWidth, 0) << Describe(table, i);
            EXPECT_GT(entry.nHeight, 0) << Describe(table, i);
            const bool comboBox = CString(GetLayoutTableNames(table)->ppszNames[i]).Right(4) == L"_cmb";
            EXPECT_EQ(entry.nTextHeight > 0, comboBox) << Describe(table, i);
            EXPECT_EQ(entry.bEnable, 1) << Describe(table, i);
            EXPECT_EQ(entry.bVisible, 1) << Describe(table, i);
        }
    }
}

// A field that shows a record value has no caption of its own: the print
// blocks print a row's caption only when it has no bound path.
TEST_F(ShippedLayout, BoundFieldsCarryNoCaption)
{
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) {
        const LayoutTable table = static_cast<LayoutTable>(t);
        const _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
        for (int i = 0; i < GetLayoutTableNames(table)->nCount; ++i) {
            if (entries[i].arrXmlPath.GetSize() == 0) continue;
            EXPECT_TRUE(entries[i].strCaption.IsEmpty()) << Describe(table, i);
        }
    }
}

TEST_F(ShippedLayout, CaptionsAreTheFormsOwnTexts)
{
    struct Case {
        LayoutTable table;
        const wchar_t* control;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {LayoutTable::PatInfo, L"Patient_id_stc", L"ID"},
        {LayoutTable::PatInfo, L"Patient_name_stc", L"氏名"},
        {LayoutTable::PatInfo, L"Patient_sex_stc", L"性別"},
        {LayoutTable::PatInfo, L"Patient_age_stc", L"年齢"},
        {LayoutTable::PatInfoPrint, L"Patient_id_stc", L"患者ID"},
        {LayoutTable::Rest, L"Interpre_ward_stc ", L"病棟"},
        {LayoutTable::Rest, L"Interpre_req_section_stc", L"依頼科"},
        {LayoutTable::Rest, L"Interpre_technician_stc", L"検査技師"},
        {LayoutTable::Rest, L"Interpre_comment_btn", L"定型文入力"},
        {LayoutTable::Rest, L"Interpre_addition_other", L"......"},
        {LayoutTable::Extra, L"Interpre_edit_lead_name_title_stc", L"誘導名称編集"},
        {LayoutTable::Exer, L"Interpre_load_stc", L"ﾌﾟﾛﾄｺﾙ"},
        {LayoutTable::FinalPrint, L"Patient_height_stc", L"身長"},
        {LayoutTable::FinalPrint, L"Patient_bp_stc", L"血圧"},
    };
    for (const Case& c : cases) {
        const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(c.table);
        int index = -1;
        for (int i = 0; i < names->nCount; ++i) {
            if (CString(names->ppszNames[i]) == c.control) index = i;
        }
        ASSERT_GE(index, 0);
        EXPECT_EQ(GetLayoutEntries(g_stDefCtrlPos, c.table)[index].strCaption, CString(c.caption))
            << Describe(c.table, index);
    }
    EXPECT_EQ(m_doc.GetSuffix(), CString(L"様"));
}

// Fields read through a binding whose value a saver writes to a fixed path:
// the binding must be that path, or the value saved is never read back.
TEST_F(ShippedLayout, BindingsMeetTheFixedPathsOfTheSavers)
{
    const CString ps = L"/Rawdata/Tavrion/Inspection/Patient_section";
    const CString vok = L"/Rawdata/Tavrion/Inspection/Voktext_section";
    struct Case {
        int kind, index, alt;
        CString path;
    };
    const Case cases[] = {
        // the patient record's saver
        {0, 1, 0, ps + L"/Patient_id"},
        {0, 3, 0, ps + L"/Patient_name"},
        {0, 5, 0, L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id"},
        {0, 7, 0, ps + L"/Patient_kana_name"},
        {0, 9, 0, ps + L"/Sex/@value"},
        {0, 11, 0, ps + L"/Age"},
        {0, 16, 0, ps + L"/Height_weight/Height"},
        {0, 16, 1, ps + L"/Height_weight/Sub_height"},
        {0, 18, 0, ps + L"/Height_weight/Weight"},
        {0, 18, 1, ps + L"/Height_weight/Sub_weight"},
        {0, 20, 0, ps + L"/Bp/Bp_sys"},
        {0, 22, 0, ps + L"/Bp/Bp_dia"},
        // the confirming doctor goes to both doctor paths, the date beside the first
        {0, 29, 0, vok + L"/Confirm_editor/Editor_name"},
        {0, 29, 1, ps + L"/Doctor"},
        {0, 27, 2, vok + L"/Confirm_editor/Edit_date"},
        // the patient block of the reports reads what the patient saver writes
        {7, 1, 0, ps + L"/Patient_id"},
        {7, 9, 0, ps + L"/Patient_name"},
        {7, 4, 0, ps + L"/Height_weight/Height"},
        {7, 11, 0, ps + L"/Age"},
        // the birthday of the rhythm and RR forms is the Birthday element the others write
        {4, 1, 0, ps + L"/Birthday/@year"},
        {3, 5, 0, ps + L"/Birthday/@day"},
        // room and requesting section, fixed in the master-step saver
        {1, 13, 0, ps + L"/Room_no"},
        {1, 15, 0, L"/Rawdata/Tavrion/Inspection/Patient_section2/Request_section"},
        // the analysis date, both places the non-rest savers write it
        {1, 154, 0, vok + L"/Analysis_editor/Edit_date"},
        {1, 154, 1, L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date"},
        // additions as the additions saver numbers them
        {4, 30, 0, L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title"},
        {8, 59, 0, L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']"},
        // the comment, whose fixed path the record checks the length of
        {2, 35, 0, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"},
        // the heart rate the extra-lead document reads from its fixed path
        {5, 49, 0, L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_doc.GetDefXMLPath(c.kind, c.index, c.alt), c.path)
            << "kind " << c.kind << " entry " << c.index << " alternative " << c.alt;
    }
}

// Code rows: the savers append "Minnesota" and "Ivrel" elements numbered
// from 1 and write the row's code, marker and statement through its
// bindings; the report reads node k's "title" as the code and "mask" as
// its marker.
TEST_F(ShippedLayout, CodeRowsAddressTheNumberedElementsTheSaversAppend)
{
    const CString minnesota = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
    const CString ivrel = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";
    for (int n = 1; n <= 8; ++n) {
        CString row;
        row.Format(L"%s[@number='%d']", static_cast<LPCWSTR>(minnesota), n);
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 47 + 5 * n, 0), row + L"/@title");
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 48 + 5 * n, 0), row + L"/@mask");
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 51 + 5 * n, 0), row);
    }
    for (int n = 1; n <= 11; ++n) {
        CString row;
        row.Format(L"%s[@number='%d']", static_cast<LPCWSTR>(ivrel), n);
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 90 + 5 * n, 0), row + L"/@title");
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 91 + 5 * n, 0), row + L"/@mask");
        EXPECT_EQ(m_doc.GetDefXMLPath(1, 94 + 5 * n, 0), row);
    }
    // print rows: code and marker of row 1 of the rest report
    EXPECT_EQ(m_doc.GetDefXMLPath(8, 61, 0), minnesota + L"[@number='1']/@title");
    EXPECT_EQ(m_doc.GetDefXMLPath(8, 61, 1), minnesota + L"[@number='1']/@mask");
}

// Every bound path, written with a distinct value into a fresh record XML,
// saved, and read back through the same path, gives that value: each path
// is well formed, writable from nothing, and no two reach the same node.
TEST_F(ShippedLayout, EveryBoundPathRoundTripsThroughAFreshRecordXml)
{
    const std::set<std::wstring> paths = AllBoundPaths();
    ASSERT_GT(paths.size(), 100u);
    TempDir dir;
    const std::string file = dir.Write("record.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Rawdata/>\n");

    std::map<std::wstring, CString> values;
    {
        CECGXMLParser xml(Wide(file), 0, CString());
        int n = 0;
        for (const std::wstring& path : paths) {
            CString value;
            value.Format(L"値%d", ++n);
            values[path] = value;
            EXPECT_NE(xml.SetDataToXMLDOM(value, path.c_str(), 4, CString()), 0) << CStringA(path.c_str()).GetString();
        }
        xml.SaveToXMLFile();
    }
    CECGXMLParser xml(Wide(file), 0, CString());
    for (const std::wstring& path : paths) {
        CString value;
        EXPECT_NE(xml.GetDataFromXMLDOM(value, path.c_str(), 4, CString()), 0) << CStringA(path.c_str()).GetString();
        EXPECT_EQ(value, values[path]) << CStringA(path.c_str()).GetString();
        EXPECT_EQ(xml.GetObjectCount(path.c_str()), 1) << CStringA(path.c_str()).GetString();
    }
}

// The record-XML writer of the test tools writes a node for every path the
// layout binds (the file of every section), and a record of each kind holds
// the paths of the forms that show it.
TEST_F(ShippedLayout, SampleRecordXmlHasANodeForEveryBoundPath)
{
    using morvelance::rec::RecordKind;
    TempDir dir;
    morvelance::RecordXmlOptions every;
    every.coverage = morvelance::Coverage::EveryKind;
    const std::string all = dir.File("every.xml");
    morvelance::WriteSampleRecordXml(all, RecordKind::Rest12, every);
    {
        CECGXMLParser xml(Wide(all), 0, CString());
        for (const std::wstring& path : AllBoundPaths())
            EXPECT_GE(xml.GetObjectCount(path.c_str()), 1) << CStringA(path.c_str()).GetString();
    }

    struct KindForms {
        RecordKind kind;
        std::vector<LayoutTable> tables;
    };
    const KindForms kinds[] = {
        {RecordKind::Rest12, {LayoutTable::PatInfo, LayoutTable::Rest, LayoutTable::PatInfoPrint, LayoutTable::RestPrint}},
        {RecordKind::Rest15, {LayoutTable::PatInfo, LayoutTable::Rest, LayoutTable::RestPrint}},
        {RecordKind::Rhythm, {LayoutTable::PatInfo, LayoutTable::Rhythm, LayoutTable::RhythmPrint}},
        {RecordKind::Rr, {LayoutTable::PatInfo, LayoutTable::RR, LayoutTable::RRPrint}},
        {RecordKind::ExtraLeads, {LayoutTable::PatInfo, LayoutTable::Extra, LayoutTable::ExtraPrint}},
    };
    for (const KindForms& k : kinds) {
        const std::string file = dir.File("kind" + std::to_string(static_cast<int>(k.kind)) + ".xml");
        morvelance::WriteSampleRecordXml(file, k.kind);
        CECGXMLParser xml(Wide(file), 0, CString());
        for (const std::wstring& path : AllBoundPaths(k.tables)) {
            EXPECT_GE(xml.GetObjectCount(path.c_str()), 1)
                << "kind " << static_cast<int>(k.kind) << ": " << CStringA(path.c_str()).GetString();
        }
    }
}
