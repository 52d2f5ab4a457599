// The installation's work directory as the build assembles it: the master
// files parse and hold the element paths the documents, forms and dialogs
// read; their codes have the forms the code checks accept; quarnel.ini and
// the version of Tavrion.ocx give what the library asks for.
#include <iconv.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ECGXMLParser.h"
#include "core/MemoryHelpers.h"
#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/VersionInfo.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/XmlTestUtil.h"
#include "tools/MasterFiles.h"
#include "tools/XmlTree.h"

using namespace morvelance;
using testsupport::Wide;
using xmltest::Doc;

namespace {

std::string Shipped(const std::string& name) { return testsupport::WorkDir() + "/" + name; }

// testsupport::Wide reads its bytes as code page 932; these texts are UTF-8.
CString U(const std::string& utf8) { return CString(platform::FromUtf8(utf8).c_str()); }

int Columns(const std::string& utf8) { return GetCharLength(U(utf8).GetString()); }

// The text after a trip through Shift_JIS as glibc has it, or "" when it does
// not convert: what a reader that honours the declaration literally would see.
std::string ThroughShiftJis(const std::string& utf8) {
    auto convert = [](const std::string& in, const char* from, const char* to, std::string* out) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
        std::vector<char> src(in.begin(), in.end()), dst(in.size() * 4 + 16);
        char* s = src.data();
        char* d = dst.data();
        size_t sl = src.size(), dl = dst.size();
        const bool ok = iconv(cd, &s, &sl, &d, &dl) != static_cast<size_t>(-1);
        iconv_close(cd);
        out->assign(dst.data(), static_cast<size_t>(d - dst.data()));
        return ok;
    };
    std::string sjis, back;
    if (!convert(utf8, "UTF-8", "CP932", &sjis) || !convert(sjis, "SHIFT_JIS", "UTF-8", &back)) return "";
    return back;
}

// Every code of a master section: value attribute and Japanese text.
struct Code {
    std::string value, text;
};
std::vector<Code> CodesOf(const Doc& doc, const std::string& section) {
    std::vector<Code> codes;
    const int n = doc.Count(section);
    for (int i = 1; i <= n; ++i) {
        const std::string at = section + "[" + std::to_string(i) + "]";
        codes.push_back({doc.Value(at + "/@value"), doc.Value(at + "/Japanese_text")});
    }
    return codes;
}

// The typed-code rule of the Minnesota fields: at most 6 bytes, groups of
// digits split by '-', the first of at most two digits, the others of one.
bool MinnesotaCodeForm(const std::string& code) {
    if (code.empty() || code.size() > 6) return false;
    std::vector<std::string> groups(1);
    for (char c : code) {
        if (c == '-') groups.emplace_back();
        else if (c >= '0' && c <= '9') groups.back() += c;
        else return false;
    }
    if (groups.size() > 3 || groups[0].empty() || groups[0].size() > 2) return false;
    for (size_t g = 1; g < groups.size(); ++g)
        if (groups[g].size() != 1) return false;
    return true;
}

}  // namespace

TEST(WorkdirFiles, MinnesotaMasterHasGroupsAndCodesInTheLayoutTheFormsRead) {
    Doc doc(Shipped("Minesota_mst.xml"));
    ASSERT_TRUE(doc.ok());
    const std::vector<Code> groups = CodesOf(doc, "/Minesota/First_letters/Code");
    const std::vector<Code> codes = CodesOf(doc, "/Minesota/Minesota_Code/Code");
    ASSERT_EQ(groups.size(), 9u);
    ASSERT_GT(codes.size(), 80u);
    std::set<std::string> groupValues, seen;
    for (const Code& g : groups) {
        EXPECT_FALSE(g.text.empty()) << g.value;
        groupValues.insert(g.value);
    }
    for (const Code& c : codes) {
        EXPECT_TRUE(seen.insert(c.value).second) << "duplicate " << c.value;
        EXPECT_TRUE(MinnesotaCodeForm(c.value)) << c.value;
        EXPECT_FALSE(c.text.empty()) << c.value;
        // The picker files a code under the letters before its first '-'.
        EXPECT_EQ(groupValues.count(c.value.substr(0, c.value.find('-'))), 1u) << c.value;
    }
    EXPECT_EQ(seen.count("1-1-1") + seen.count("9-8-2"), 2u);
}

TEST(WorkdirFiles, IvrelMasterHasStatementsGroupsAndJudgements) {
    Doc doc(Shipped("Ivrel12.xml"));
    ASSERT_TRUE(doc.ok());
    const std::vector<Code> groups = CodesOf(doc, "/Ivrel/First_letters/Code");
    const std::vector<Code> codes = CodesOf(doc, "/Ivrel/Ivrel_code/Code");
    const std::vector<Code> judgements = CodesOf(doc, "/Ivrel/Judgement_code/Code");
    ASSERT_GE(groups.size(), 5u);
    ASSERT_GT(codes.size(), 40u);
    ASSERT_GE(judgements.size(), 3u);
    bool oneLetter = false, twoLetters = false;
    for (const Code& g : groups) {
        oneLetter |= g.value.size() == 1;
        twoLetters |= g.value.size() == 2;
    }
    EXPECT_TRUE(oneLetter && twoLetters);  // the picker indents the two-letter groups
    std::set<std::string> statements;
    for (const Code& c : codes) {
        EXPECT_TRUE(statements.insert(c.value).second) << "duplicate " << c.value;
        EXPECT_LE(c.value.size(), 5u) << c.value;  // shown right-aligned in five, typed into seven
        EXPECT_FALSE(c.text.empty()) << c.value;
        bool grouped = false;
        for (const Code& g : groups) grouped |= c.value.rfind(g.value, 0) == 0;
        EXPECT_TRUE(grouped) << c.value;
    }
    // A judgement code is found only under Judgement_code.
    for (const Code& j : judgements) {
        EXPECT_EQ(statements.count(j.value), 0u) << j.value;
        EXPECT_FALSE(j.text.empty()) << j.value;
    }
}

// The lookups exactly as the code checks and forms make them, through the
// system's own XML access.
TEST(WorkdirFiles, EveryCodeIsFoundByTheLookupsOfTheCodeChecks) {
    CECGXMLParser minnesota(Wide(Shipped("Minesota_mst.xml")), 0, CString());
    CECGXMLParser ivrel(Wide(Shipped("Ivrel12.xml")), 0, CString());
    auto lookup = [](CECGXMLParser& xml, const char* section, const char* code) {
        CString path, text;
        path.Format(L"%s/Code[@value=%s]/%s", static_cast<LPCWSTR>(Wide(section)),
                    static_cast<LPCWSTR>(CECGXMLParser::XPathLiteral(Wide(code))), L"Japanese_text");
        xml.GetDataFromXMLDOM(text, path, 4, CString());
        return text;
    };
    for (const MasterCode& c : MinnesotaCodes())
        EXPECT_TRUE(lookup(minnesota, "/Minesota/Minesota_Code", c.value) == U(c.text)) << c.value;
    for (const MasterCode& c : IvrelCodes())
        EXPECT_TRUE(lookup(ivrel, "/Ivrel/Ivrel_code", c.value) == U(c.text)) << c.value;
    for (const MasterCode& c : JudgementCodes()) {
        EXPECT_TRUE(lookup(ivrel, "/Ivrel/Judgement_code", c.value) == U(c.text)) << c.value;
        EXPECT_TRUE(lookup(ivrel, "/Ivrel/Ivrel_code", c.value).IsEmpty()) << c.value;
    }
    EXPECT_TRUE(lookup(minnesota, "/Minesota/Minesota_Code", "1-1-8").IsEmpty());
    EXPECT_EQ(ivrel.GetObjectCount(L"/Ivrel/Judgement_code/Code"), static_cast<int>(JudgementCodes().size()));
}

TEST(WorkdirFiles, StockPhrasesFitTheirEditors) {
    Doc addition(Shipped("Addition.xml"));
    ASSERT_TRUE(addition.ok());
    const std::vector<std::string> titles = addition.Values("/Addition/Title/Text");
    const std::vector<std::string> contents = addition.Values("/Addition/Content/Text");
    ASSERT_FALSE(titles.empty());
    ASSERT_FALSE(contents.empty());
    EXPECT_EQ(titles[0], "総合判定");  // the editor's own default entries come first
    EXPECT_EQ(contents[0], "問題なし");
    for (const std::string& t : titles) EXPECT_LT(Columns(t), 33) << t;
    for (const std::string& c : contents) EXPECT_LT(Columns(c), 256) << c;
    EXPECT_EQ(addition.Count("/Addition/*/Text/@*"), 0);

    Doc comment(Shipped("Comment.xml"));
    ASSERT_TRUE(comment.ok());
    for (const char* section : {"Restview", "Msfrview", "Rhythmview", "RRview", "Extrview", "Exerview", "MFERview"}) {
        const std::vector<std::string> phrases = comment.Values(std::string("/Comment/") + section + "/Comment_text");
        EXPECT_FALSE(phrases.empty()) << section;
        for (const std::string& p : phrases) {
            EXPECT_LE(U(p).GetLength(), 60) << p;  // the phrase prompt takes 60 characters
            EXPECT_LE(Columns(p), 180) << p;           // and a short comment still holds it
        }
    }
    EXPECT_EQ(comment.Count("/Comment/*"), 7);
}

// The shipped files are the generator's output, so the record maker's record
// XML never names a code the masters lack; and every master text reads the
// same whether a Shift_JIS reader takes it as code page 932 or as Shift_JIS.
TEST(WorkdirFiles, MastersAreTheGeneratorsOutputAndSurviveShiftJis) {
    const std::pair<const char*, std::unique_ptr<XmlElement>> masters[] = {
        {"Minesota_mst.xml", MinnesotaMaster()},
        {"Ivrel12.xml", IvrelMaster()},
        {"Addition.xml", AdditionMaster()},
        {"Comment.xml", CommentMaster()},
    };
    for (const auto& m : masters) {
        EXPECT_EQ(testsupport::ReadFileBytes(Shipped(m.first)), SerializeXml(*m.second, XmlEncoding::Utf8))
            << m.first << " differs from the tables in tools/MasterFiles.cpp: run morvelance-mkrecord masters";
    }
    std::vector<std::string> texts;
    for (const auto* list : {&MinnesotaGroups(), &MinnesotaCodes(), &IvrelGroups(), &IvrelCodes(), &JudgementCodes()})
        for (const MasterCode& c : *list) texts.push_back(c.text);
    for (const char* t : AdditionTitles()) texts.push_back(t);
    for (const char* t : AdditionContents()) texts.push_back(t);
    for (const CommentSection& s : CommentPhrases())
        for (const char* p : s.phrases) texts.push_back(p);
    for (const std::string& t : texts) EXPECT_EQ(ThroughShiftJis(t), t);
}

TEST(WorkdirFiles, QuarnelIniNamesTheLanguage) {
    const CString ini = Wide(Shipped("quarnel.ini"));
    wchar_t value[81] = {};
    const DWORD n = GetPrivateProfileStringW(L"LANGUAGE", L"LANGUAGE", L"", value, 81, ini.GetString());
    EXPECT_GT(n, 0u);
    // Not "ENGLISH": the Japanese index.
    EXPECT_STREQ(value, L"JAPANESE");
}

TEST(WorkdirFiles, TavrionOcxCarriesTheVersionReportsPrint) {
    const CString ocx = Wide(Shipped("Tavrion.ocx"));
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSizeW(ocx.GetString(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(ocx.GetString(), 0, size, block.data()));
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\FileVersion", &value, &length));
    const CString version(static_cast<const wchar_t*>(value));
    ASSERT_GE(version.GetLength(), 5);
    EXPECT_EQ(version.Right(5), CString(L"01.20"));
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010014u);
}
