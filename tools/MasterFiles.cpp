#include "tools/MasterFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace morvelance {

namespace {

// Texts stay inside JIS X 0208 and avoid the characters that Shift_JIS and
// code page 932 map differently (wave dash, minus, double bar), so that a
// master converted to either reads the same.
const std::vector<MasterCode> kMinnesotaGroups = {
    {"1", "Q・QS波"},        {"2", "QRS軸偏位"},      {"3", "高電位"},
    {"4", "ST接合部・ST低下"}, {"5", "T波異常"},        {"6", "房室伝導障害"},
    {"7", "心室内伝導障害"},   {"8", "不整脈"},         {"9", "その他"},
};

const std::vector<MasterCode> kMinnesotaCodes = {
    {"1-1-1", "大きなQ波(Q/R比1/3以上)"},
    {"1-1-2", "幅広いQ波(0.04秒以上)"},
    {"1-1-3", "幅広いQ波(aVL)"},
    {"1-1-4", "幅広いQ波(III・aVF)"},
    {"1-1-5", "幅広いQ波(aVF)"},
    {"1-1-6", "QS波(V1からV4)"},
    {"1-1-7", "QS波(V1からV5)"},
    {"1-2-1", "中等度Q波(Q/R比1/3以上)"},
    {"1-2-2", "中等度Q波(0.03秒以上)"},
    {"1-2-3", "中等度Q波(aVL)"},
    {"1-2-4", "中等度Q波(III・aVF)"},
    {"1-2-5", "QS波(III・aVF)"},
    {"1-2-6", "QS波(V1からV3)"},
    {"1-2-7", "QS波(V1からV4,境界)"},
    {"1-2-8", "R波の減高(V2からV4)"},
    {"1-3-1", "小さなQ波(Q/R比1/5以上)"},
    {"1-3-2", "QS波(V1・V2)"},
    {"1-3-3", "小さなQ波(aVL)"},
    {"1-3-4", "小さなQ波(III・aVF)"},
    {"1-3-5", "小さなQ波(aVF)"},
    {"1-3-6", "QS波(III・aVF,境界)"},
    {"2-1", "左軸偏位(-30度から-90度)"},
    {"2-2", "右軸偏位(+120度から-150度)"},
    {"2-3", "右軸偏位(+90度から+119度)"},
    {"2-4", "高度軸偏位(-90度から-149度)"},
    {"2-5", "不定軸"},
    {"3-1", "左室高電位"},
    {"3-2", "右室高電位"},
    {"3-3", "左室高電位(境界域)"},
    {"3-4", "両室高電位"},
    {"4-1-1", "ST接合部低下(2mm以上,水平型)"},
    {"4-1-2", "ST接合部低下(1mm以上,水平型)"},
    {"4-2", "ST低下(0.5mm以上1mm未満)"},
    {"4-3", "ST低下(0.5mm未満,下降型)"},
    {"4-4", "ST接合部低下(上行型)"},
    {"5-1", "陰性T波(5mm以上)"},
    {"5-2", "陰性T波(1mm以上5mm未満)"},
    {"5-3", "平低または二相性T波"},
    {"5-4", "T波減高(R波の1/20未満)"},
    {"6-1", "完全房室ブロック"},
    {"6-2-1", "2度房室ブロック(モビッツII型)"},
    {"6-2-2", "2度房室ブロック(2対1)"},
    {"6-2-3", "2度房室ブロック(ウェンケバッハ型)"},
    {"6-3", "1度房室ブロック(PR 0.22秒以上)"},
    {"6-4-1", "WPW型(持続性)"},
    {"6-4-2", "WPW型(間欠性)"},
    {"6-5", "PR短縮(0.12秒未満)"},
    {"6-6", "間欠性変行伝導"},
    {"6-8", "人工ペースメーカ"},
    {"7-1-1", "完全左脚ブロック"},
    {"7-1-2", "間欠性左脚ブロック"},
    {"7-2-1", "完全右脚ブロック"},
    {"7-2-2", "間欠性右脚ブロック"},
    {"7-3", "不完全右脚ブロック"},
    {"7-4", "心室内伝導障害"},
    {"7-5", "RR'型(V1・V2)"},
    {"7-6", "不完全左脚ブロック"},
    {"7-7", "左脚前枝ブロック"},
    {"7-8", "右脚ブロック+左脚前枝ブロック"},
    {"8-1-1", "上室期外収縮"},
    {"8-1-2", "心室期外収縮"},
    {"8-1-3", "上室・心室期外収縮"},
    {"8-1-4", "移動性ペースメーカ"},
    {"8-1-5", "心室期外収縮+移動性ペースメーカ"},
    {"8-2-1", "心室細動"},
    {"8-2-2", "心室静止"},
    {"8-2-3", "持続性心室頻拍"},
    {"8-2-4", "非持続性心室頻拍"},
    {"8-3-1", "心房細動"},
    {"8-3-2", "心房粗動"},
    {"8-3-3", "間欠性心房細動"},
    {"8-3-4", "間欠性心房粗動"},
    {"8-4-1", "上室頻拍(持続性)"},
    {"8-4-2", "上室頻拍(間欠性)"},
    {"8-5-1", "洞停止"},
    {"8-5-2", "洞房ブロック"},
    {"8-6-1", "房室解離(心室ペースメーカ)"},
    {"8-6-2", "房室解離(心房捕捉あり)"},
    {"8-6-3", "房室解離(心房ペースメーカ)"},
    {"8-6-4", "房室解離(その他)"},
    {"8-7", "洞頻脈(100/分以上)"},
    {"8-8", "洞徐脈(50/分未満)"},
    {"8-9", "その他の不整脈"},
    {"9-1", "低電位"},
    {"9-2", "ST上昇"},
    {"9-3", "高いP波(2.5mm以上)"},
    {"9-4-1", "移行帯の右方偏位"},
    {"9-4-2", "移行帯の左方偏位"},
    {"9-5", "高いT波(12mm以上)"},
    {"9-8-1", "記録不良"},
    {"9-8-2", "判読不能"},
};

// One-letter groups are written flush, two-letter ones are indented by the
// code picker; both kinds are here so that both show.
const std::vector<MasterCode> kIvrelGroups = {
    {"R", "調律"},       {"E", "期外収縮"},   {"AV", "房室伝導"}, {"IV", "心室内伝導"},
    {"AX", "電気軸"},    {"H", "肥大・負荷"}, {"M", "心筋梗塞"},   {"S", "ST-T変化"},
    {"Q", "QT間隔"},     {"X", "その他"},
};

const std::vector<MasterCode> kIvrelCodes = {
    {"R01", "洞調律"},
    {"R02", "洞頻脈"},
    {"R03", "洞徐脈"},
    {"R04", "洞不整脈"},
    {"R05", "心房細動"},
    {"R06", "心房粗動"},
    {"R07", "上室頻拍"},
    {"R08", "接合部調律"},
    {"R09", "ペースメーカ調律"},
    {"R10", "異所性心房調律"},
    {"E01", "上室期外収縮"},
    {"E02", "心室期外収縮"},
    {"E03", "多源性心室期外収縮"},
    {"E04", "心室期外収縮二段脈"},
    {"E05", "心室期外収縮連発"},
    {"AV1", "1度房室ブロック"},
    {"AV2", "2度房室ブロック(ウェンケバッハ型)"},
    {"AV3", "2度房室ブロック(モビッツII型)"},
    {"AV4", "完全房室ブロック"},
    {"AV5", "WPW症候群"},
    {"AV6", "PQ短縮"},
    {"IV1", "完全右脚ブロック"},
    {"IV2", "不完全右脚ブロック"},
    {"IV3", "完全左脚ブロック"},
    {"IV4", "左脚前枝ブロック"},
    {"IV5", "左脚後枝ブロック"},
    {"IV6", "心室内伝導障害"},
    {"IV7", "2枝ブロック"},
    {"AX1", "左軸偏位"},
    {"AX2", "右軸偏位"},
    {"AX3", "不定軸"},
    {"H01", "左室肥大"},
    {"H02", "左室高電位"},
    {"H03", "右室肥大"},
    {"H04", "両室肥大"},
    {"H05", "左房負荷"},
    {"H06", "右房負荷"},
    {"M01", "前壁中隔梗塞"},
    {"M02", "前壁梗塞"},
    {"M03", "側壁梗塞"},
    {"M04", "下壁梗塞"},
    {"M05", "後壁梗塞"},
    {"M06", "広範囲前壁梗塞"},
    {"M07", "心筋梗塞の疑い"},
    {"S01", "ST低下"},
    {"S02", "ST上昇"},
    {"S03", "T波異常"},
    {"S04", "陰性T波"},
    {"S05", "平低T波"},
    {"S06", "非特異的ST-T変化"},
    {"S07", "早期再分極"},
    {"Q01", "QT延長"},
    {"Q02", "QT短縮"},
    {"X01", "低電位(肢誘導)"},
    {"X02", "低電位(全誘導)"},
    {"X03", "時計方向回転"},
    {"X04", "反時計方向回転"},
    {"X05", "記録不良"},
};

// The judgement list of the forms, in this order.
const std::vector<MasterCode> kJudgementCodes = {
    {"J1", "正常"}, {"J2", "正常範囲"}, {"J3", "境界域"}, {"J4", "異常"}, {"J5", "判定不能"},
};

// The first phrase of each list is the dialog's own default, so an
// installation that lost its phrases and one that never changed them agree.
const std::vector<const char*> kAdditionTitles = {
    "総合判定", "既往歴", "服薬状況", "検査条件", "再検査", "自覚症状", "備考",
};
const std::vector<const char*> kAdditionContents = {
    "問題なし",         "要経過観察",     "要精密検査",         "前回と比較して変化なし",
    "安静臥位で記録",   "運動直後に記録", "体動によるノイズあり", "電極を付け直して再記録",
};

const std::vector<CommentSection> kCommentPhrases = {
    {"Restview",
     {"正常心電図です。", "正常範囲の心電図です。", "前回と比較して著変ありません。", "軽度のST-T変化を認めます。",
      "精密検査をお勧めします。", "経過観察をお勧めします。"}},
    {"Msfrview",
     {"マスタ負荷試験陰性です。", "マスタ負荷試験陽性です。", "負荷後に有意なST低下を認めます。", "判定保留です。"}},
    {"Rhythmview",
     {"洞調律です。", "期外収縮を散見します。", "心房細動を認めます。", "リズム記録上、明らかな異常は認めません。"}},
    {"RRview",
     {"RR間隔の変動は正常範囲です。", "RR間隔の変動係数が低下しています。", "自律神経機能の低下が疑われます。"}},
    {"Extrview",
     {"追加誘導で明らかな異常は認めません。", "右側胸部誘導でST上昇を認めます。", "背部誘導で異常Q波を認めます。"}},
    {"Exerview", {"運動負荷試験陰性", "運動負荷試験陽性", "判定保留"}},
    {"MFERview", {"正常心電図です。", "外部記録の心電図です。", "精密検査をお勧めします。"}},
};

std::string Lookup(const std::vector<MasterCode>& codes, const std::string& value) {
    for (const MasterCode& c : codes)
        if (value == c.value) return c.text;
    return std::string();
}

void AddCodes(XmlElement& section, const std::vector<MasterCode>& codes) {
    for (const MasterCode& c : codes) {
        XmlElement& code = section.Append("Code");
        code.SetAttribute("value", c.value);
        code.Append("Japanese_text").SetText(c.text);
    }
}

void AddPhrases(XmlElement& list, const char* element, const std::vector<const char*>& phrases) {
    for (const char* p : phrases) list.Append(element).SetText(p);
}

void EnsureFolder(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create folder " + dir + ": " + std::strerror(errno));
}

}  // namespace

const std::vector<MasterCode>& MinnesotaGroups() { return kMinnesotaGroups; }
const std::vector<MasterCode>& MinnesotaCodes() { return kMinnesotaCodes; }
const std::vector<MasterCode>& IvrelGroups() { return kIvrelGroups; }
const std::vector<MasterCode>& IvrelCodes() { return kIvrelCodes; }
const std::vector<MasterCode>& JudgementCodes() { return kJudgementCodes; }
const std::vector<const char*>& AdditionTitles() { return kAdditionTitles; }
const std::vector<const char*>& AdditionContents() { return kAdditionContents; }
const std::vector<CommentSection>& CommentPhrases() { return kCommentPhrases; }

std::string MinnesotaText(const std::string& code) { return Lookup(kMinnesotaCodes, code); }

std::string IvrelText(const std::string& code) {
    std::string text = Lookup(kIvrelCodes, code);
    return text.empty() ? Lookup(kJudgementCodes, code) : text;
}

std::unique_ptr<XmlElement> MinnesotaMaster() {
    auto root = std::make_unique<XmlElement>("Minesota");
    AddCodes(root->Append("First_letters"), kMinnesotaGroups);
    AddCodes(root->Append("Minesota_Code"), kMinnesotaCodes);
    return root;
}

std::unique_ptr<XmlElement> IvrelMaster() {
    auto root = std::make_unique<XmlElement>("Ivrel");
    AddCodes(root->Append("First_letters"), kIvrelGroups);
    AddCodes(root->Append("Ivrel_code"), kIvrelCodes);
    AddCodes(root->Append("Judgement_code"), kJudgementCodes);
    return root;
}

std::unique_ptr<XmlElement> AdditionMaster() {
    auto root = std::make_unique<XmlElement>("Addition");
    AddPhrases(root->Append("Title"), "Text", kAdditionTitles);
    AddPhrases(root->Append("Content"), "Text", kAdditionContents);
    return root;
}

std::unique_ptr<XmlElement> CommentMaster() {
    auto root = std::make_unique<XmlElement>("Comment");
    for (const CommentSection& s : kCommentPhrases) AddPhrases(root->Append(s.element), "Comment_text", s.phrases);
    return root;
}

std::string QuarnelIni() {
    return "; Display language of the review host: ENGLISH, or JAPANESE (any other value).\r\n"
           "[LANGUAGE]\r\n"
           "LANGUAGE=JAPANESE\r\n";
}

std::vector<std::string> WriteMasterFiles(const std::string& dir) {
    EnsureFolder(dir);
    const std::string base = (!dir.empty() && dir.back() == '/') ? dir : dir + "/";
    std::vector<std::string> files;
    auto xml = [&](const char* name, const XmlElement& root) {
        WriteXmlFile(base + name, root, XmlEncoding::Utf8);
        files.push_back(base + name);
    };
    xml("Minesota_mst.xml", *MinnesotaMaster());
    xml("Ivrel12.xml", *IvrelMaster());
    xml("Addition.xml", *AdditionMaster());
    xml("Comment.xml", *CommentMaster());

    const std::string ini = base + "quarnel.ini", text = QuarnelIni();
    std::FILE* f = std::fopen(ini.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + ini + ": " + std::strerror(errno));
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + ini);
    files.push_back(ini);
    return files;
}

}  // namespace morvelance
