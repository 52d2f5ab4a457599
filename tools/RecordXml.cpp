#include "tools/RecordXml.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "tools/DeviceRecord.h"
#include "tools/ExtraRecord.h"
#include "tools/MasterFiles.h"
#include "tools/RRRecord.h"
#include "tools/SampleRecords.h"
#include "tools/SignalOps.h"
#include "tools/TextCodec.h"

namespace morvelance {

using rec::RecordKind;

namespace {

// ---- small formatting helpers ------------------------------------------------

std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* format, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    return buf;
}

std::string Int(long v) { return Fmt("%ld", v); }

DateTime AddMinutes(const DateTime& t, int minutes) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute + minutes;
    tm.tm_sec = t.second;
    const time_t seconds = timegm(&tm);
    std::tm out{};
    gmtime_r(&seconds, &out);
    return DateTime{out.tm_year + 1900, out.tm_mon + 1, out.tm_mday, out.tm_hour, out.tm_min, out.tm_sec};
}

// The byte length of UTF-8 text in code page 932, as the readers measure it.
size_t Cp932Length(const std::string& utf8) {
    std::string bytes, error;
    if (!EncodeText(utf8, TextEncoding::Cp932, &bytes, &error)) return utf8.size();
    return bytes.size();
}

// The longest leading part of the text that takes at most `limit` bytes in code page 932.
std::string CutToBytes(const std::string& utf8, size_t limit) {
    std::string bytes, back, error;
    if (!EncodeTextLimited(utf8, TextEncoding::Cp932, limit, &bytes, &error)) return utf8.substr(0, limit);
    if (!DecodeText(bytes, TextEncoding::Cp932, &back, &error)) return utf8.substr(0, limit);
    return back;
}

// Text of exactly `bytes` code page 932 bytes: `unit` (a two-byte character)
// repeated, with one ASCII letter when the count is odd; or, without a unit,
// an id made of "MV-" and digits.
std::string Fill(const char* unit, size_t bytes) {
    std::string s;
    if (!unit) {
        s = "MV-";
        for (size_t i = 0; s.size() < bytes; ++i) s += static_cast<char>('0' + i % 10);
        return s.substr(0, bytes);
    }
    for (size_t i = 0; i + 2 <= bytes; i += 2) s += unit;
    if (bytes % 2) s += "A";
    return s;
}

// ---- the patients of the samples: what a device record does not carry ---------

struct Kana {
    const char* name;
    const char* kana;
};
const Kana kKana[] = {
    {"山田 太郎", "ヤマダ タロウ"}, {"佐藤 花子", "サトウ ハナコ"}, {"鈴木 一郎", "スズキ イチロウ"},
    {"田中 美咲", "タナカ ミサキ"}, {"高橋 健", "タカハシ ケン"},
};

std::string KanaOf(const std::string& name) {
    for (const Kana& k : kKana)
        if (name == k.name) return k.kana;
    return std::string();
}

std::string SexText(const std::string& sex) {
    if (sex == "M") return "男";
    if (sex == "F") return "女";
    return "不明";
}

// ---- measurements ----------------------------------------------------------------

// The 23 per-lead measurement keys of the resting documents and one value per
// lead (I, II, III, aVR, aVL, aVF, V1..V6): amplitudes in microvolts,
// durations in milliseconds, the last two yes/no findings. A P wave's upward
// deflection is "Pa" (0 or more) and its downward one "Ppa" (0 or less): the
// inverted P of aVR is measured under Ppa, where the measurement table, which
// refuses a negative Pa, takes it.
struct LeadMeasure {
    const char* key;
    int values[12];
};
const LeadMeasure kLeadMeasures[] = {
    {"Pa", {80, 120, 50, 0, 30, 80, 60, 70, 80, 90, 90, 80}},
    {"Ppa", {0, 0, 0, -90, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Eqd", {88, 92, 90, 90, 86, 92, 94, 96, 96, 94, 92, 90}},
    {"Qd", {20, 24, 0, 0, 18, 22, 0, 0, 0, 16, 20, 22}},
    {"Qa", {-80, -100, 0, 0, -60, -90, 0, 0, 0, -50, -80, -90}},
    {"Rd", {40, 44, 36, 20, 34, 42, 24, 30, 36, 42, 44, 42}},
    {"Ra", {700, 1100, 450, 120, 380, 780, 240, 560, 880, 1350, 1350, 1200}},
    {"Sd", {30, 28, 34, 60, 32, 30, 60, 56, 46, 36, 28, 26}},
    {"Sa", {-150, -220, -180, -700, -120, -200, -900, -1300, -800, -450, -250, -150}},
    {"Rpd", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Rpa", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Spd", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Spa", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Vat", {36, 40, 32, 20, 30, 38, 20, 26, 32, 38, 42, 40}},
    {"Qrsa", {18, 30, 12, -25, 10, 22, -20, -25, 5, 30, 35, 28}},
    {"Stj", {10, 20, 10, -10, 0, 10, 20, 40, 40, 30, 20, 10}},
    {"Stm", {20, 30, 10, -20, 10, 20, 30, 50, 50, 40, 30, 20}},
    {"Ste", {30, 40, 10, -30, 10, 30, 40, 60, 60, 50, 40, 30}},
    {"Mta", {250, 350, 100, -300, 150, 250, -100, 400, 500, 450, 380, 300}},
    {"Ta", {260, 360, 110, -310, 160, 260, -90, 420, 520, 460, 390, 310}},
    {"Tpa", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};
const char* const kYesNoMeasures[] = {"Tup", "Delta_wave"};

// ---- interpretation rows of the samples ----------------------------------------

const char* const kSampleMinnesota[] = {"9-4-1", "3-1", "4-2", "5-2", "7-3", "8-1-2", "1-3-2", "2-1"};
const char* const kSampleIvrel[] = {"R01", "E02", "AV1", "IV2", "AX1", "H02", "S06", "Q01", "X03", "M07", "S04"};
const char* const kSampleJudgement = "J3";

// ---- colours of the display settings -----------------------------------------------

struct Colour {
    const char* element;
    int r, g, b;
};
const Colour kWaveColours[] = {
    {"Wave", 0, 0, 0},
    {"Grid", 255, 90, 90},
    {"Back_ground", 255, 255, 255},
    {"Wave_info", 0, 0, 255},
    {"Wave_comp1", 67, 57, 244},
    {"Wave_comp2", 213, 81, 203},
    {"Wave_comp3", 61, 153, 45},
    {"Wave_comp4", 0, 0, 0},
    {"Wave_comp5", 255, 0, 0},
    {"Wave_comp6", 0, 192, 168},
    {"Wave_comp7", 255, 0, 255},
    {"Wave_comp8", 32, 168, 224},
    {"Wave_comp9", 128, 64, 32},
    {"Wave_comp10", 49, 63, 177},
    {"Rest_wave", 0, 128, 0},
    {"Wave_non_choice", 255, 255, 255},
    {"Grid_non_choice", 0, 128, 128},
    {"Bkg_non_choice", 0, 0, 0},
    {"Wave_info_non_choice", 255, 255, 255},
};
const Colour kTextColours[] = {
    {"Back_ground", 255, 255, 255},  {"Text_input", 220, 220, 220},         {"Text_non_input", 255, 255, 255},
    {"Text_confirm_info", 0, 0, 250}, {"Text_after_confirm_info", 200, 0, 0}, {"Text_others", 0, 0, 0},
    {"Frame", 220, 220, 220},         {"Frame_text", 0, 0, 0},               {"Back_ground_blank", 128, 128, 128},
};

bool IsRestKind(RecordKind k) { return k == RecordKind::Rest12 || k == RecordKind::Rest15; }

bool IsExerciseCode(uint16_t code) { return code == 0xFFFA || code == 0xFFFC || code == 0xFFFD; }

uint8_t LowByte(uint16_t code) { return static_cast<uint8_t>(code & 0xFF); }

// ---- the writer ----------------------------------------------------------------------

// The annotation shapes a record carries, one of each of the eleven types in
// turn, with the point lists the annotation library stores for them (arrow
// heads in their saved order, text boxes by two corners), in unscaled units.
struct AnnotationShape {
    int type;
    const char* text;   // null for shapes without text
    int count;
    float points[8][2];
};
const AnnotationShape kAnnotationShapes[] = {
    {10, "ST低下に注意", 2, {{0, 0}, {140, 24}}},
    {3, nullptr, 8, {{0, 80}, {80, 80}, {70, 75}, {80, 80}, {80, 80}, {70, 85}, {74, 80}, {0, 80}}},
    {1, nullptr, 4, {{0, 0}, {0, 0}, {6, 2}, {12, 4}}},
    {2, nullptr, 2, {{0, 0}, {55, 35}}},
    {4, nullptr, 8, {{0, 100}, {80, 100}, {70, 105}, {80, 100}, {70, 95}, {80, 100}, {74, 100}, {80, 100}}},
    {5, nullptr, 2, {{0, 0}, {30, 20}}},
    {6, nullptr, 2, {{0, 0}, {40, 30}}},
    {7, nullptr, 4, {{0, 0}, {0, 0}, {30, 5}, {15, 30}}},
    {8, nullptr, 5, {{0, 0}, {0, 0}, {5, 3}, {10, 7}, {16, 5}}},
    {9, nullptr, 5, {{0, 0}, {0, 0}, {10, 5}, {20, 0}, {10, -5}}},
    {11, "P", 4, {{20, 0}, {80, 20}, {0, 60}, {20, 10}}},
};
constexpr int kAnnotationShapeCount = sizeof kAnnotationShapes / sizeof kAnnotationShapes[0];

class RecordXmlWriter {
public:
    RecordXmlWriter(const RecordXmlSource& source, const RecordXmlOptions& options)
        : m_src(source), m_opt(options), m_root(std::make_unique<XmlElement>("Rawdata")) {}

    std::unique_ptr<XmlElement> Write() {
        if (Has(XmlSection::Patient)) WritePatient();
        if (Has(XmlSection::Interpretation)) WriteInterpretation();
        if (Has(XmlSection::Additions)) WriteAdditions();
        if (Has(XmlSection::Comment)) WriteComment();
        if (Has(XmlSection::Measurements)) WriteMeasurements();
        if (Has(XmlSection::Analysis)) WriteAnalysis();
        if (Has(XmlSection::Record)) WriteRecord();
        if (Has(XmlSection::Wave)) WriteWave();
        if (Has(XmlSection::Report)) WriteReport();
        if (Has(XmlSection::System)) WriteSystem();
        if (Has(XmlSection::Settings)) WriteSettings();
        if (Has(XmlSection::Annotations)) WriteAnnotations();
        if (m_opt.refused) WriteRefused();
        return std::move(m_root);
    }

private:
    bool Has(XmlSection s) const { return std::find(m_opt.omit.begin(), m_opt.omit.end(), s) == m_opt.omit.end(); }
    bool Older() const { return m_src.olderReader; }
    bool Every() const { return m_opt.coverage == Coverage::EveryKind; }
    bool Rest() const { return IsRestKind(m_src.kind) || Every(); }
    bool Exercise() const { return IsExerciseCode(m_src.systemCode) || Every(); }
    bool MasterStep() const {
        const uint8_t low = LowByte(m_src.systemCode);
        return (m_src.kind == RecordKind::Rest12 && (low == 243 || low == 244)) || Every();
    }

    void Text(const std::string& path, const std::string& value) { m_root->At(path).SetText(value); }
    void Attr(const std::string& path, const char* name, const std::string& value) {
        m_root->At(path).SetAttribute(name, value);
    }

    // A date element: "style" = "Date" and year to second, spoilt as the
    // options ask unless `keepValid`.
    void Date(const std::string& path, const DateTime& t, bool keepValid = false) {
        int year = t.year, month = t.month, day = t.day;
        if (!keepValid && m_opt.badDate == BadDate::Feb29) year = 2003, month = 2, day = 29;
        if (!keepValid && m_opt.badDate == BadDate::Month13) month = 13;
        XmlElement& e = m_root->At(path);
        e.SetAttribute("style", "Date");
        e.SetAttribute("year", Fmt("%04d", year));
        e.SetAttribute("month", Fmt("%02d", month));
        e.SetAttribute("day", Fmt("%02d", day));
        e.SetAttribute("hour", Fmt("%02d", t.hour));
        e.SetAttribute("minute", Fmt("%02d", t.minute));
        e.SetAttribute("second", Fmt("%02d", t.second));
    }
    DateTime After(int minutes) const { return AddMinutes(m_src.time, minutes); }

    void Colour3(XmlElement& e, int r, int g, int b) {
        e.SetAttribute("r", Int(r));
        e.SetAttribute("g", Int(g));
        e.SetAttribute("b", Int(b));
    }

    // A text field the readers limit to `limit` bytes in an ordinary record and
    // to `limit8000` in a model-8000 record (0: the field does not exist there).
    void Limited(const std::string& path, const std::string& normal, size_t limit, size_t limit8000,
                 const char* unit) {
        const size_t lim = Older() ? limit8000 : limit;
        std::string value = normal;
        if (lim == 0) {
            if (m_opt.range != ValueRange::OverLimit) return;
        } else if (m_opt.range == ValueRange::AtLimit) {
            value = Fill(unit, lim);
        } else if (m_opt.range == ValueRange::OverLimit) {
            value = Fill(unit, lim + 1);
        } else if (Cp932Length(value) > lim) {
            value = CutToBytes(value, lim);
        }
        Text(path, value);
    }

    // ---- /Rawdata/Tavrion/Inspection --------------------------------------------

    void WritePatient() {
        const PatientInfo& p = m_src.patient;
        const std::string ps = "/Rawdata/Tavrion/Inspection/Patient_section/";
        Limited(ps + "Patient_id", p.id, 20, 12, nullptr);
        Limited(ps + "Patient_name", p.name, 20, 20, "山");
        Limited(ps + "Patient_kana_name", KanaOf(p.name), 40, 0, "ア");
        Attr(ps + "Sex", "value", SexText(p.sex));

        XmlElement& age = m_root->At(ps + "Age");
        age.SetAttribute("style", "Age");
        const bool hasAge = !p.age.empty();
        for (const char* a : {"year", "month", "day", "week", "hour", "userdata"})
            age.SetAttribute(a, std::string(a) == "year" ? p.age : "");
        age.SetAttribute("unit", hasAge ? "0" : "5");  // 0 years, 5 no age given

        const int years = hasAge ? std::atoi(p.age.c_str()) : 40;
        XmlElement& birthday = m_root->At(ps + "Birthday");
        if (m_opt.badDate == BadDate::Feb29) {
            birthday.SetAttribute("year", "2003").SetAttribute("month", "02").SetAttribute("day", "29");
        } else {
            // Born in June, so that the age holds on an acquisition in the spring.
            birthday.SetAttribute("year", Fmt("%04d", m_src.time.year - years - 1));
            birthday.SetAttribute("month", m_opt.badDate == BadDate::Month13 ? "13" : "06");
            birthday.SetAttribute("day", "15");
        }

        const bool male = p.sex != "F";
        Text(ps + "Height_weight/Height", male ? "170" : "158");
        Text(ps + "Height_weight/Sub_height", male ? "5" : "0");
        Text(ps + "Height_weight/Weight", male ? "65" : "52");
        Text(ps + "Height_weight/Sub_weight", male ? "0" : "5");
        Text(ps + "Height_weight/Height_unit", "0");  // 0 cm, 1 in
        Text(ps + "Height_weight/Weight_unit", "0");  // 0 kg, 1 lb
        Text(ps + "Bp/Bp_sys", "128");
        Text(ps + "Bp/Bp_dia", "78");
        Text(ps + "Bp/Bp_unit", "0");  // 0 mmHg, 1 kPa
        Date(ps + "Acquition_date", m_src.time);
        if (Exercise()) Text(ps + "Race", "アジア");
        Limited("/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", "S-" + p.id, 20, 0, nullptr);
    }

    void WriteInterpretation() {
        const std::string ps = "/Rawdata/Tavrion/Inspection/Patient_section/";
        const std::string med = ps + "Medications/Medication";
        Limited(med + "[@number='1']", "降圧剤", 22, 22, "薬");
        Attr(med + "[@number='1']", "index", "0");
        Limited(med + "[@number='2']", "抗血小板薬", 22, 22, "薬");
        Attr(med + "[@number='2']", "index", "2");
        Limited(ps + "Symptom", "動悸", 22, 0, "長");
        Limited(ps + "Disease", "高血圧症", 22, 0, "長");
        Limited(ps + "Department", m_src.patient.department.empty() ? "循環器内科" : m_src.patient.department, 22, 0,
                "長");
        Limited(ps + "Ward", "東3病棟", 22, 0, "長");
        Limited(ps + "Room_no", "305", 10, 0, nullptr);
        Limited(ps + "Request_doctor", "佐藤医師", 20, 0, "長");
        Limited(ps + "Technician", "伊藤", 20, 0, "長");
        Text(ps + "Hosp_name", "中央総合病院");
        Date(ps + "Edit_time", After(5));
        if (m_opt.confirmation != Confirmation::None) Text(ps + "Doctor", kDoctor);
        Limited("/Rawdata/Tavrion/Inspection/Patient_section2/Request_section", "内科外来", 20, 0, "長");

        const std::string vs = "/Rawdata/Tavrion/Inspection/Voktext_section/";
        Text(vs + "Patient_editor/Editor_name", "伊藤");
        Date(vs + "Patient_editor/Edit_date", After(5));
        WriteConfirmation(vs + "Confirm_editor/");
        Text(vs + "Analysis_editor/Editor_name", kDoctor);
        Date(vs + "Analysis_editor/Edit_date", After(10));
    }

    // The edits are dated 5 to 25 minutes after the acquisition: a
    // confirmation at 30 follows them all, one at 3 precedes them, and the
    // patient edit time beside it is always written with it.
    void WriteConfirmation(const std::string& editor) {
        if (m_opt.confirmation == Confirmation::None) return;
        Text(editor + "Editor_name", kDoctor);
        Date(editor + "Edit_date", After(m_opt.confirmation == Confirmation::EditedAfter ? 3 : 30));
    }

    // ---- additions and comment --------------------------------------------------

    void WriteAdditions() {
        const std::string as = "/Rawdata/Tavrion/Addition/Patient_add_section/";
        Text(as + "Addition_editor/Editor_name", "伊藤");
        Date(as + "Addition_editor/Edit_date", After(20));
        const bool exists = !Older() || m_opt.range == ValueRange::OverLimit;
        const int count = m_opt.additions >= 0 ? m_opt.additions : (exists ? 3 : 0);
        const auto& titles = AdditionTitles();
        const auto& contents = AdditionContents();
        for (int n = 1; n <= count; ++n) {
            const size_t i = static_cast<size_t>(n - 1);
            XmlElement& a = m_root->At(as + "Addition_content[@number='" + Int(n) + "']");
            std::string title = titles[i % titles.size()], content = contents[i % contents.size()];
            if (!Older() && m_opt.range != ValueRange::Normal) {
                const size_t extra = m_opt.range == ValueRange::OverLimit ? 1 : 0;
                title = Fill("題", 32 + extra);
                content = Fill("文", 255 + extra);
            }
            a.SetAttribute("title", title);
            a.SetText(content);
        }
        Text("/Rawdata/Tavrion/Addition/Voktext_section/Login_editor/Editor_name", "伊藤");
        Date("/Rawdata/Tavrion/Addition/Voktext_section/Login_editor/Edit_date", After(20));
    }

    void WriteComment() {
        const std::string cs = "/Rawdata/Tavrion/Comment/Voktext_section/";
        // Devices end lines with a bare line feed; the readers turn it into CR LF.
        std::string comment = m_src.patient.comment.empty() ? "" : m_src.patient.comment + "\n";
        comment += CommentPhrases()[0].phrases[2];
        Limited(cs + "Comment_content", comment, 255, 255, "長");
        Text(cs + "Comment_editor/Editor_name", kDoctor);
        Date(cs + "Comment_editor/Edit_date", After(15));
    }

    // ---- measurements -------------------------------------------------------------

    double HeartRate() const { return m_src.heartRate > 0 ? m_src.heartRate : 60.0; }

    void WriteMeasurements() {
        const std::string ms = "/Rawdata/Tavrion/Measurement/Measurement_section/";
        const double hr = HeartRate();
        Text(ms + "Heart_rate", Int(std::lround(hr)));
        if (!Rest()) return;

        const double rrSeconds = 60.0 / hr;
        const long qt = std::lround(412.0 * std::sqrt(rrSeconds));
        Text(ms + "Pr_int", "156");
        Text(ms + "Qrs_dur", "92");
        Text(ms + "Qt_int", Int(qt));
        Text(ms + "Qtc_int", "412");
        Text(ms + "P_axis", "54");
        Text(ms + "Qrs_axis", "48");
        Text(ms + "T_axis", "41");
        Text(ms + "Rv5", "1.350");
        Text(ms + "Sv1", "0.900");
        for (const LeadMeasure& m : kLeadMeasures) {
            XmlElement& key = m_root->At(ms + "Mm/" + m.key);
            for (int v : m.values) key.Append(std::string(m.key) + "_element").SetAttribute("data", Int(v));
        }
        for (const char* k : kYesNoMeasures) {
            XmlElement& key = m_root->At(ms + "Mm/" + k);
            for (int lead = 0; lead < 12; ++lead) key.Append(std::string(k) + "_element").SetAttribute("data", "N");
        }

        WriteBeatTable(ms, rrSeconds, qt);
        if (m_opt.missingMeasures) MarkMissingMeasures(ms);
    }

    // The beat table of the QRS views, and the intervals by QRS type.
    void WriteBeatTable(const std::string& ms, double rrSeconds, long qt) {
        const long rrMs = std::lround(rrSeconds * 1000);
        const long beats = m_opt.qrsBeats >= 0 ? m_opt.qrsBeats
                                                : std::max(1L, std::lround(HeartRate() * std::max(m_src.seconds, 1.0) / 60.0));
        XmlElement& qrsNo = m_root->At(ms + "Qrs_no");
        qrsNo.SetAttribute("count", Int(beats));
        XmlElement& types = qrsNo.Append("Qrs_type");
        XmlElement& rr = qrsNo.Append("Rr_int");
        for (long b = 0; b < beats; ++b) {
            types.Append("Qrs_type_element").SetAttribute("data", m_opt.mixedQrsTypes ? Int(b % 6) : std::string("1"));
            // Mixed beats vary their intervals so that each beat's own value can be told apart.
            rr.Append("Rr_int_element").SetAttribute("data", Int(m_opt.mixedQrsTypes ? rrMs + b % 50 : rrMs));
        }
        const std::pair<const char*, long> perType[] = {
            {"Ave_rr", rrMs}, {"P_Dur", 100}, {"Pr_int", 156}, {"Qrs_dur", 92}, {"Qt_int", qt}};
        const int typeRows = m_opt.mixedQrsTypes ? 6 : 1;
        for (const auto& t : perType)
            for (int type = 0; type < typeRows; ++type)
                m_root->At(ms + "Qrs/" + t.first + "/" + t.first + "_element[" + Int(type + 1) + "]")
                    .SetAttribute("data", Int(t.second + 2 * type));
    }

    void MarkMissingMeasures(const std::string& ms) {
        for (int lead = 1; lead <= 12; ++lead)
            m_root->At(ms + "Mm/Rpd/Rpd_element[" + Int(lead) + "]").SetAttribute("data", "****");
        m_root->At(ms + "Mm/Ra/Ra_element[6]").SetAttribute("data", "****");
        m_root->At(ms + "Mm/Tup/Tup_element[4]").SetAttribute("data", "*");
        Text(ms + "Sv1", "*.***");
        m_root->At(ms + "Qrs/P_Dur/P_Dur_element[1]").SetAttribute("data", "****");
    }

    // ---- analysis ---------------------------------------------------------------------

    void WriteAnalysis() {
        const std::string an = "/Rawdata/Tavrion/Analysis/Analysis_section/";
        const bool rest = Rest();
        const int minnesota = m_opt.minnesotaRows >= 0 ? m_opt.minnesotaRows : (rest ? 8 : 0);
        const int ivrel = m_opt.ivrelRows >= 0 ? m_opt.ivrelRows : (rest ? 11 : 0);
        XmlElement& minnesotas = m_root->At(an + "Minnesotas");
        for (int n = 1; n <= minnesota; ++n) {
            const std::string code = n <= 8 ? kSampleMinnesota[n - 1]
                                            : MinnesotaCodes()[static_cast<size_t>(n) % MinnesotaCodes().size()].value;
            XmlElement& row = minnesotas.Append("Minnesota");
            row.SetAttribute("number", Int(n)).SetAttribute("mask", "").SetAttribute("title", code);
            row.SetText(MinnesotaText(code));
        }
        XmlElement& ivreles = m_root->At(an + "Ivreles");
        ivreles.SetAttribute("version", "12");
        for (int n = 1; n <= ivrel; ++n) {
            const std::string code =
                n <= 11 ? kSampleIvrel[n - 1] : IvrelCodes()[static_cast<size_t>(n) % IvrelCodes().size()].value;
            XmlElement& row = ivreles.Append("Ivrel");
            row.SetAttribute("number", Int(n)).SetAttribute("mask", "").SetAttribute("title", code);
            row.SetText(IvrelText(code));
        }
        Attr(an + "Judgement", "value", kSampleJudgement);
        Text(an + "Judgement", IvrelText(kSampleJudgement));
        Text(an + "Recommendation", rest ? "要精密検査" : "");
        Date("/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date", After(10), true);
    }

    // ---- values the readers refuse ------------------------------------------------------

    // Changes only elements the file has: a section left out stays out.
    void WriteRefused() {
        auto existing = [&](const std::string& path) { return m_root->Find(path) ? &m_root->At(path) : nullptr; };
        const std::string an = "/Rawdata/Tavrion/Analysis/Analysis_section/";
        if (XmlElement* row = existing(an + "Minnesotas/Minnesota[2]")) row->SetAttribute("title", "X-1");
        if (XmlElement* row = existing(an + "Ivreles/Ivrel[2]")) row->SetText(OlderWording(row->Text()));
        if (XmlElement* row = existing(an + "Ivreles/Ivrel[4]")) row->SetAttribute("title", "ZZ9");
        if (XmlElement* judgement = existing(an + "Judgement")) judgement->SetText(OlderWording(judgement->Text()));
        if (XmlElement* date = existing("/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date")) {
            for (const char* part : {"year", "month", "day", "hour", "minute", "second"}) date->SetAttribute(part, "");
        }
        if (XmlElement* sex = existing("/Rawdata/Tavrion/Inspection/Patient_section/Sex")) sex->SetAttribute("value", "M");
        if (XmlElement* birthday = existing("/Rawdata/Tavrion/Inspection/Patient_section/Birthday"))
            birthday->SetAttribute("month", "").SetAttribute("day", "");
        if (XmlElement* medication = existing("/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[2]"))
            medication->SetAttribute("index", "");
        for (const char* path : {"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date",
                                 "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor/Edit_date",
                                 "/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date",
                                 "/Rawdata/Tavrion/Inspection/Patient_section/Edit_time"}) {
            if (XmlElement* date = existing(path))
                date->SetAttribute("year", "2024").SetAttribute("month", "02").SetAttribute("day", "30");
        }
        if (XmlElement* pressure = existing("/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys"))
            pressure->SetText("1200");
        if (XmlElement* weight = existing("/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight"))
            weight->SetText("1200");
        const std::string ex = "/Rawdata/Tavrion/Report/Exercise_section/";
        if (XmlElement* maxHr = existing(ex + "Hr/Max_hr")) maxHr->SetText("***");
        if (XmlElement* stop = existing(ex + "Load/Stop_condition")) stop->SetText("");

        // ---- measurements: texts the measurement readers take as they stand, and ones
        // they cannot read as a number, in each form a recorder or an older save leaves
        const std::string ms = "/Rawdata/Tavrion/Measurement/Measurement_section/";
        auto gone = [&](const std::string& parent, const std::string& child) {
            if (XmlElement* p = existing(parent))
                if (const XmlElement* c = p->Find(child)) p->RemoveChild(c);
        };
        // Lead II's items: no number, a fraction, a sign with a leading zero, blanks,
        // full-width digits, past the table's limit, P' above its range, a lone
        // no-value mark, an empty value and yes/no answers in lower case or empty.
        const std::pair<const char*, const char*> leadII[] = {
            {"Qa", "abc"}, {"Ra", "12.5"}, {"Sa", "+015"}, {"Rd", " 44 "}, {"Sd", "０２８"},
            {"Stj", "12000"}, {"Ppa", "5"}, {"Stm", "*"}, {"Ta", "-0360"}, {"Qrsa", ""},
            {"Tup", ""}, {"Delta_wave", "y"},
        };
        for (const auto& [key, data] : leadII)
            if (XmlElement* e = existing(ms + "Mm/" + key + "/" + key + "_element[2]")) e->SetAttribute("data", data);
        if (XmlElement* e = existing(ms + "Mm/Tup/Tup_element[3]")) e->SetAttribute("data", "x");
        gone(ms + "Mm/Vat", "Vat_element[12]");   // V6's V.A.T. missing
        // The record-wide values.
        const std::pair<const char*, const char*> globals[] = {
            {"Heart_rate", "060"}, {"Pr_int", "0156"}, {"Qrs_dur", ""}, {"Qtc_int", "４１２"}, {"P_axis", "+54"},
            {"Qrs_axis", "999"}, {"T_axis", "abc"}, {"Rv5", " 1.350 "}, {"Sv1", "*.***"},
        };
        for (const auto& [element, text] : globals)
            if (XmlElement* e = existing(ms + element)) e->SetText(text);
        gone(ms.substr(0, ms.size() - 1), "Qt_int");
        // The beat table and the intervals by QRS type.
        if (XmlElement* beats = existing(ms + "Qrs_no")) {
            if (const std::string* count = beats->Attribute("count")) beats->SetAttribute("count", "0" + *count);
        }
        if (XmlElement* e = existing(ms + "Qrs_no/Qrs_type/Qrs_type_element[1]")) e->SetAttribute("data", "+1");
        if (XmlElement* e = existing(ms + "Qrs_no/Rr_int/Rr_int_element[2]")) e->SetAttribute("data", "abc");
        if (XmlElement* e = existing(ms + "Qrs/P_Dur/P_Dur_element[1]")) e->SetAttribute("data", "");
        if (XmlElement* e = existing(ms + "Qrs/Qt_int/Qt_int_element[1]")) e->SetAttribute("data", "１２３");
        // ---- end of the measurements

        // ---- trip counts and ages the boxes show otherwise than stored: a count not
        // taken ("*", shown empty) and, in a model-8000 record, a count past that
        // recorder's 255 and an age of 100, past its two-digit box
        if (XmlElement* trip = existing("/Rawdata/Tavrion/Record/Mstep_section/Trip_info"))
            trip->SetAttribute("trip", Older() ? "300" : "*").SetAttribute("total", "*");
        if (XmlElement* age = existing("/Rawdata/Tavrion/Inspection/Patient_section/Age"); age && Older())
            age->SetAttribute("year", "100");
        // ---- end of the trip counts and ages

        // ---- lead codes in forms a reader takes as another number or as none: a
        // letter before or after the number, a blank and a leading zero, a sign,
        // full-width digits, none at all; an edited name's code with a blank and a
        // leading zero; flags empty or blank
        for (const char* section : {"Rhythm_section", "Rhythm_ex_section"}) {
            const std::string wi = std::string("/Rawdata/Tavrion/Wave/") + section + "/Wave_info/";
            for (int n = 1; n <= 6; ++n) {
                XmlElement* code = existing(wi + "Wave_data[@number='" + Int(n) + "']/Lead_code");
                if (!code) continue;
                const std::string stored = code->Text();
                // A number with a letter after it: none to a reader of whole numbers, the number to the others.
                const std::string forms[] = {"A" + stored, stored + "x", " 0" + stored, "+" + stored, "０", ""};
                code->SetText(forms[n - 1]);
            }
        }
        for (const char* path : {"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element[2]",
                                 "/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name[2]"}) {
            XmlElement* name = existing(path);
            if (const std::string* code = name ? name->Attribute("code") : nullptr) name->SetAttribute("code", " 0" + *code);
        }
        // Edited-name flags that are empty or blank: 0 to the rhythm reader,
        // none to the resting one, none and 0 to the extra one.
        for (int n : {3, 4})
            if (XmlElement* name = existing("/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element[" +
                                            Int(n) + "]"))
                name->SetAttribute("flag", n == 3 ? "" : " ");
        // ---- end of the lead codes

        // A confirmation whose doctor is missing from its own place: the readers
        // take the patient section's doctor and the analysis editor's date.
        if (XmlElement* name = existing("/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name"))
            name->SetText("");
    }

    // The text a code carried before the master reworded it.
    static std::string OlderWording(const std::string& text) { return text + "（旧）"; }

    // ---- record, wave, report, system -----------------------------------------------------

    void WriteRecord() {
        const std::string rs = "/Rawdata/Tavrion/Record/";
        Text(rs + "Record_section/Filter_status", "0");
        Text(rs + "Record_section/Acq_sense", "10.0");
        Text(rs + "Extended_section/Acq_filter", "100");
        Text(rs + "Extended_section/Acq_sense", "10.0");
        Text(rs + "Mstep_section/Master_step_info", "マスタ2階段試験(ダブル)");
        std::string trip = "18", total = "20";
        if (m_opt.range != ValueRange::Normal) {
            const int over = m_opt.range == ValueRange::OverLimit ? 1 : 0;
            trip = Int((Older() ? 255 : 999) + over);
            total = Int((Older() ? 256 : 999) + over);
        }
        if (!m_opt.trip.empty()) trip = m_opt.trip;
        if (!m_opt.tripTotal.empty()) total = m_opt.tripTotal;
        Attr(rs + "Mstep_section/Trip_info", "trip", trip);
        Attr(rs + "Mstep_section/Trip_info", "total", total);
        if (!m_opt.loadTime.empty())
            Text(rs + "Mstep_section/Load_time", m_opt.loadTime);
        else if (MasterStep() || Exercise())
            Text(rs + "Mstep_section/Load_time", "03:00");
        Text(rs + "Mstep_section/Master_step_mode", "ダブル");
        Text(rs + "Unit_version", "01.20");
    }

    uint16_t CodeOf(size_t recordLead) const {
        return recordLead < m_src.leads.size() ? ElectrodeCode(m_src.leads[recordLead]) : 0;
    }

    // Lead codes of the leads whose names the documents take from the record XML.
    std::vector<uint16_t> NamedLeadCodes() const {
        std::vector<uint16_t> codes;
        const size_t n = m_src.leads.size();
        switch (m_src.kind) {
            case RecordKind::Rest12: break;
            case RecordKind::Rest15:
            case RecordKind::ExtraLeads:
                for (size_t i = rec::kRestLeadCount; i < n; ++i) codes.push_back(CodeOf(i));
                break;
            case RecordKind::Rhythm:
                // Full-lead rhythm records name their chest leads only.
                for (size_t i = (n == 12 || n == 15) ? 6 : 0; i < n; ++i) codes.push_back(CodeOf(i));
                break;
            case RecordKind::Rr:
                for (size_t i = 0; i < 3; ++i) codes.push_back(CodeOf(i));
                break;
        }
        return codes;
    }

    void WriteWave() {
        const std::string ws = "/Rawdata/Tavrion/Wave/";
        const std::vector<uint16_t> codes = NamedLeadCodes();
        const uint8_t low = LowByte(m_src.systemCode);
        if (m_src.kind == RecordKind::Rr) {
            XmlElement& three = m_root->At(ws + "Three_Lead_section");
            for (uint16_t c : codes) three.Append("Lead_code").SetText(Int(c));
        } else if (m_src.kind == RecordKind::ExtraLeads && low == 28) {
            // A freeze record names its free leads itself (codes 119 to 124).
            XmlElement& info = m_root->At(ws + "Extend_section/Freeze_info/Lead_info");
            for (size_t i = 0; i < 6; ++i) {
                const size_t lead = rec::kRestLeadCount + i;
                XmlElement& name = info.Append("Lead_name");
                name.SetAttribute("code", Int(119 + static_cast<long>(i)));
                name.SetText(lead < m_src.leads.size() ? LeadName(m_src.leads[lead]) : Fmt("EXT%zu", i + 1));
            }
        } else if (m_src.kind != RecordKind::Rest12) {
            const bool extended = rec::IsRhythm38Code(m_src.systemCode) && m_src.kind == RecordKind::Rhythm;
            const std::string wi = ws + (extended ? "Rhythm_ex_section" : "Rhythm_section") + "/Wave_info/";
            const size_t count = m_src.kind == RecordKind::Rhythm ? m_src.leads.size() : codes.size();
            Text(wi + "Lead_count", Int(static_cast<long>(count)));
            for (size_t i = 0; i < codes.size(); ++i)
                Text(wi + "Wave_data[@number='" + Int(static_cast<long>(i + 1)) + "']/Lead_code", Int(codes[i]));
        }
        // No lead carries an edited name yet.
        XmlElement& names = m_root->At(ws + "Wave_add_section/Lead_name");
        for (size_t i = 0; i < 12; ++i) {
            XmlElement& e = names.Append("Lead_name_element");
            e.SetAttribute("flag", "0").SetAttribute("code", Int(i < codes.size() ? codes[i] : 0));
        }
    }

    // RR intervals in milliseconds: from the record's beats, else from its rate.
    std::vector<long> RrIntervals() const {
        std::vector<long> rr;
        for (size_t i = 1; i < m_src.beats.size(); ++i)
            rr.push_back(static_cast<long>((m_src.beats[i] - m_src.beats[i - 1]) * 1000 / rec::kRecordSampleRate));
        if (rr.empty()) {
            const long n = std::max(1L, std::lround(HeartRate() * std::max(m_src.seconds, 1.0) / 60.0));
            rr.assign(static_cast<size_t>(n), std::lround(60000.0 / HeartRate()));
        }
        return rr;
    }

    struct Stats {
        long max = 0, min = 0;
        double mean = 0, sd = 0;
    };
    static Stats StatsOf(const std::vector<long>& v, size_t from, size_t to) {
        Stats s;
        s.max = *std::max_element(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(to));
        s.min = *std::min_element(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(to));
        for (size_t i = from; i < to; ++i) s.mean += static_cast<double>(v[i]);
        s.mean /= static_cast<double>(to - from);
        for (size_t i = from; i < to; ++i) s.sd += (static_cast<double>(v[i]) - s.mean) * (static_cast<double>(v[i]) - s.mean);
        s.sd = std::sqrt(s.sd / static_cast<double>(to - from));
        return s;
    }

    void WriteRrReport() {
        const std::string rp = "/Rawdata/Tavrion/Report/";
        const std::vector<long> rr = RrIntervals();
        const Stats all = StatsOf(rr, 0, rr.size());
        const long seconds = std::lround(m_src.seconds);
        // The totals in milliseconds, as the RR interpretation form labels
        // them; the per-minute table in the units of its own headings.
        Text(rp + "Rr_total/Measure_time", Fmt("%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60));
        Text(rp + "Rr_total/Total_beat", Int(static_cast<long>(rr.size() + 1)));
        Text(rp + "Rr_total/Heart_rate", Int(std::lround(60000.0 / all.mean)));
        Text(rp + "Rr_total/Mean_duration", Int(std::lround(all.mean)));
        Text(rp + "Rr_total/Max_duration", Int(all.max));
        Text(rp + "Rr_total/Min_duration", Int(all.min));
        Text(rp + "Rr_total/Max_min_duration", Fmt("%.2f", static_cast<double>(all.max) / std::max(1L, all.min)));
        Text(rp + "Rr_total/Sd", Fmt("%.1f", all.sd));
        Text(rp + "Rr_total/Cv", Fmt("%.2f", 100.0 * all.sd / all.mean));

        std::vector<RRInterval> list;
        for (long v : rr) {
            // Intervals more than a fifth off the mean are the marked ones.
            const bool marked = std::fabs(static_cast<double>(v) - all.mean) > all.mean / 5;
            list.push_back(RRInterval{static_cast<int>(v), marked});
        }
        AppendRR50Table(*m_root, list);
        AppendRRList(*m_root, list);
    }

    // The comparisons of a master-step record: the rest beat, three post-load
    // recordings and the trend between them.
    void WriteMasterStepReport() {
        const std::string rp = "/Rawdata/Tavrion/Report/";
        const long hr = std::lround(HeartRate());
        auto stm = [&](XmlElement& parent, int shift) {
            XmlElement& s = parent.Append("Stm");
            for (int lead = 0; lead < 12; ++lead)
                s.Append("Stm_element").SetAttribute("data", Int(kLeadMeasures[16].values[lead] - shift * (lead % 3)));
        };
        XmlElement& restCmp = m_root->At(rp + "Cmp_rest");
        restCmp.Append("Start").SetText("80");
        restCmp.Append("End").SetText("480");
        restCmp.Append("Qrs_onset").SetText("230");
        stm(restCmp, 0);
        restCmp.Append("Status").SetText("1");
        restCmp.Append("Hr").SetText(Int(hr));

        XmlElement& load = m_root->At(rp + "Cmp_load");
        load.SetAttribute("count", "3").SetAttribute("descent_table", "2").SetAttribute("descent_lead", "5");
        for (int i = 1; i <= 3; ++i) {
            XmlElement& e = load.Append("Cmp_load_element");
            e.Append("Start").SetText("80");
            e.Append("End").SetText("480");
            e.Append("Qrs_onset").SetText("228");
            stm(e, 10 * i);
            Date(rp + "Cmp_load/Cmp_load_element[" + Int(i) + "]/Pec_time", After(3 + i));
            m_root->At(rp + "Cmp_load/Cmp_load_element[" + Int(i) + "]/Pec_time")
                .SetAttribute("minute", Fmt("%02d", i))
                .SetAttribute("second", "00");
            e.Append("Status").SetText("1");
            e.Append("Hr").SetText(Int(hr + 30 - 8 * i));
        }

        const int points = 5;
        XmlElement& trend = m_root->At(rp + "Summary_trend");
        trend.SetAttribute("count", Int(points));
        XmlElement& status = trend.Append("Status");
        XmlElement& times = trend.Append("Trend_time");
        XmlElement& hrs = trend.Append("Trend_hr");
        XmlElement& values = trend.Append("Trend");
        for (int i = 1; i <= points; ++i) {
            status.Append("Status_element").SetAttribute("data", i == 1 ? "0" : "1");
            times.Append("Trend_time_element").SetAttribute("data", Int(60 * (i - 1))).SetText(Int(60 * (i - 1)));
            hrs.Append("Trend_hr_element").SetAttribute("data", Int(hr + 10 * (i > 1))).SetText(Int(hr + 10 * (i > 1)));
            XmlElement& point = values.Append("Trend_element");
            for (int lead = 0; lead < 12; ++lead)
                point.Append("Trend_value").SetAttribute("data", Int(kLeadMeasures[16].values[lead] - 5 * (i - 1)));
        }
    }

    // The exercise test's results as the exercise document reads them.
    void WriteExerciseReport() {
        const std::string ex = "/Rawdata/Tavrion/Report/Exercise_section/";
        Text(ex + "Hr/Hr_calculate", "0");
        Text(ex + "Hr/Rest_hr", "62");
        Text(ex + "Hr/Hr_100percent", "160");
        Text(ex + "Hr/Max_hr_calculate", "0");
        Text(ex + "Hr/Max_hr", "148");
        Text(ex + "Hr/Target_hr", "136");
        Text(ex + "Load/Protocol", "Bruce");
        Attr(ex + "Load/Load_time", "minute", "9");
        Attr(ex + "Load/Load_time", "second", "5");
        Text(ex + "Load/End_mets", "123");  // METs in tenths
        Text(ex + "Load/Stop_condition", "2");
        Text(ex + "Test_point/St_meas_condition", "0");
        Text(ex + "Test_point/Onset", "230");
        Text(ex + "Test_point/Offset", "290");
        Text(ex + "Test_point/St_slope1", "270");
        Text(ex + "Test_point/St_level_point", "40");  // samples after the J point
        Text(ex + "Test_point/St_slope_point", "40");
        const int extra3Codes[] = {2, 7, 3};
        for (int n = 1; n <= 3; ++n) {
            const std::string e = ex + "Extra3/Extra3_element[@number='" + Int(n) + "']/";
            Text(e + "Lead_code", Int(extra3Codes[n - 1]));
            Text(e + "St_level_rest", "0");
            Text(e + "St_level_end", Int(-30 * n));
            Text(e + "St_level_max", Int(-40 * n));
            Text(e + "St_slope2_end", "10");
            Text(e + "St_slope2_max", "5");
        }
        Text(ex + "Extra3/Max_st_mode", "1");
        Text(ex + "Extra3/Max_st_time", "420");
        Text(ex + "Extra3/Hr/End_hr", "148");
        Text(ex + "Extra3/Hr/Max_st_hr", "140");
        const char* const names[] = {"I", "II", "III", "aVR", "aVL", "aVF", "V1", "V2", "V3", "V4", "V5", "V6"};
        for (int n = 1; n <= 12; ++n)
            Text(ex + "Lead_info/Lead_name/Lead_name_element[@number='" + Int(n) + "']", names[n - 1]);
        Text(ex + "Lead_info/Sport", "0");
        // Twelve trend points: rest, four stages of load, recovery.
        const std::pair<const char*, std::vector<int>> trends[] = {
            {"Rest_hr", {62, 70, 85, 100, 115, 128, 140, 148, 130, 110, 95, 80}},
            {"Stage_info", {1, 0, 1, 0, 1, 0}},
            {"Hr_states", {0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 5, 5}},
            {"Mets", {10, 20, 30, 45, 60, 75, 90, 110, 40, 20, 15, 12}},
        };
        for (const auto& t : trends) {
            const std::string base = ex + "Trend/" + t.first;
            Text(base + "/Size", Int(static_cast<long>(t.second.size())));
            for (size_t i = 0; i < t.second.size(); ++i)
                Text(base + "/" + t.first + "_element[@number='" + Int(static_cast<long>(i + 1)) + "']", Int(t.second[i]));
        }
        Text(ex + "Vo2_max", "350");
    }

    void WriteReport() {
        if (m_src.kind == RecordKind::Rr || Every()) WriteRrReport();
        if (MasterStep()) WriteMasterStepReport();
        if (Exercise()) WriteExerciseReport();
    }

    void WriteSystem() {
        const std::string ss = "/Rawdata/Tavrion/System/System_info/System_section/";
        Text(ss + "System_type", Older() ? "ECG-8000" : "ECG-9000");
        Text(ss + "Version", "02.10");
    }

    // ---- /Rawdata/Assist_info ---------------------------------------------------------------

    void WriteSettings() {
        const std::string ds = "/Rawdata/Assist_info/Reference/Setting/Draw_setting/";
        Text(ds + "Smooth_filter_mode", "1");
        Text(ds + "Smooth_filter_type", "1");
        Text(ds + "Del_bit_noise", "1");
        Text(ds + "Base_line_width", "1");
        Text(ds + "Brightness_density/Density_value[@mode='1']", "4");
        Text(ds + "Brightness_density/Density_value[@mode='2']", "32");
        Text(ds + "Xwidth_value", "1.50");
        Text(ds + "Ywidth_value", "1.50");
        Text(ds + "Power_value", "3");
        Text(ds + "Gamma_value", "1.00");
        Text(ds + "Grid_type", "0");
        for (const Colour& c : kWaveColours) Colour3(m_root->At(ds + "Color_setting/Wave_color/" + c.element), c.r, c.g, c.b);
        for (const Colour& c : kTextColours) Colour3(m_root->At(ds + "Color_setting/Text_color/" + c.element), c.r, c.g, c.b);

        const std::string st = "/Rawdata/Assist_info/Reference/Setting/";
        const size_t leads = m_src.leads.size();
        const bool rest = IsRestKind(m_src.kind);
        std::string page = "1";
        if (m_src.kind == RecordKind::Rhythm) page = leads == 1 ? "20" : leads == 3 ? "23" : "1";
        Text(st + "Page_style", page);
        if (rest || m_src.kind == RecordKind::Rhythm) Text(st + "Rhythm_1lead", "0");
        Text(st + "Filter", "100");
        Text(st + "Speed", "25.0");
        XmlElement& sense = m_root->At(st + "Sensitivity");
        sense.SetAttribute("mode", "1");
        switch (m_src.kind) {
            case RecordKind::Rr: sense.SetText("10.00"); break;
            case RecordKind::ExtraLeads:
                for (const char* k : {"Extra1", "Extra2", "Rhythm"}) sense.Append(k).SetText("10.00");
                break;
            case RecordKind::Rhythm:
                for (const char* k : {"Limb", "Chest", "Else", "Rhythm"}) sense.Append(k).SetText("10.00");
                break;
            default:
                for (const char* k : {"Limb", "Chest", "Else", "Rhythm"}) sense.Append(k).SetText("10.00");
                sense.Append("Serial").SetAttribute("chest_half", "1").SetText("10.00");
        }
        if (rest) Text(st + "Serial_overlap", "1");
        if (m_src.kind == RecordKind::Rhythm) {
            Text(st + "Lead_selection/Lead_1ch", "1");
            Text(st + "Lead_selection/Lead_3ch", "7");
        }
        if (m_src.kind == RecordKind::Rest15) {
            Text(st + "Lead_selection/Lead_15ch", Int(0x7FFF));
            Text(st + "Lead_selection/Lead_9ch", Int(0x7FC0));
        } else if (rest) {
            Text(st + "Lead_selection/Lead_12ch", Int(0xFFF));
        }
        if (rest) {
            Text(st + "Show_comment", "1");
            Text(st + "Show_ST", "0");
            Text(st + "Check_ID", "0");
        }
    }

    // ---- /Rawdata/Annotation -------------------------------------------------------------

    void WriteAnnotations() {
        XmlElement& section = m_root->At("/Rawdata/Annotation");
        const int count = m_opt.annotations >= 0 ? m_opt.annotations : 2;
        for (int n = 1; n <= count; ++n) {
            XmlElement& anno = section.Append("Anno");
            anno.SetAttribute("Page_style", "1");
            const std::string path = "/Rawdata/Annotation/Anno[" + Int(n) + "]";
            XmlElement& wave = anno.Append("Wave_info");
            wave.Append("Start_time").SetText("0");   // all drawn on the first page
            wave.Append("Lead_selection").SetText(Int(0xFFF));
            wave.Append("Lead_1ch").SetText("1");
            wave.Append("Filter").SetText("100");
            wave.Append("Speed").SetText("25.00");
            wave.Append("Display_mode").SetText("0");
            XmlElement& sense = wave.Append("Sensitivity");
            sense.SetAttribute("mode", "1");
            for (const char* k : {"Limb", "Chest", "Else", "Rhythm"}) sense.Append(k).SetText("10.00");
            sense.Append("Serial").SetAttribute("chest_half", "1").SetText("10.00");
            wave.Append("Serial_overlap").SetText("1");
            Date(path + "/Wave_info/Edit_time", After(25 + n));
            wave.Append("Editor_name").SetText(kDoctor);

            XmlElement& area = anno.Append("Area");
            area.SetAttribute("Page_style", "1");
            const AnnotationShape& shape = kAnnotationShapes[(n - 1) % kAnnotationShapeCount];
            const bool text = shape.text != nullptr;
            XmlElement& label = area.Append("Label");
            label.Append("Type").SetText(Int(shape.type));
            if (text) {
                label.Append("Text_size").SetText("12");
                label.Append("Text").SetText(shape.text);
            }
            label.Append("Line_width").SetText(text ? "1" : "2");
            XmlElement& colour = label.Append("Color");
            colour.SetAttribute("style", "color");
            Colour3(colour, text ? 0 : 64, 0, text ? 255 : 128);
            XmlElement& points = label.Append("Point");
            // Each annotation of a page lies a little right of the one before.
            const double dx = 120.0 + 10.0 * n, dy = 60.0;
            for (int k = 0; k < shape.count; ++k)
                points.Append("Point_element")
                    .SetAttribute("x", Fmt("%.2f", dx + shape.points[k][0]))
                    .SetAttribute("y", Fmt("%.2f", dy + shape.points[k][1]));
        }
    }

    static constexpr const char* kDoctor = "高橋 誠";

    const RecordXmlSource& m_src;
    const RecordXmlOptions& m_opt;
    std::unique_ptr<XmlElement> m_root;
};

// ---- reading a device record ----------------------------------------------------------

std::string ItemText(const zarn::ContainerBuilder& items, uint32_t tag) {
    const std::vector<uint8_t>* item = items.Find(tag, 0);
    if (!item) return std::string();
    std::string utf8, error;
    if (!DecodeText(std::string(item->begin(), item->end()), TextEncoding::EucJp, &utf8, &error)) return std::string();
    const size_t first = utf8.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return utf8.substr(first, utf8.find_last_not_of(" \t") - first + 1);
}

LeadId LeadOfCode(uint16_t code) {
    for (int v = static_cast<int>(LeadId::I); v <= static_cast<int>(LeadId::Z); ++v)
        if (ElectrodeCode(static_cast<LeadId>(v)) == code) return static_cast<LeadId>(v);
    return LeadId::Unknown;
}

}  // namespace

const std::vector<XmlSection>& AllSections() {
    static const std::vector<XmlSection> all = {
        XmlSection::Patient, XmlSection::Interpretation, XmlSection::Additions, XmlSection::Comment,
        XmlSection::Measurements, XmlSection::Analysis, XmlSection::Record, XmlSection::Wave,
        XmlSection::Report, XmlSection::System, XmlSection::Settings, XmlSection::Annotations};
    return all;
}

const char* SectionName(XmlSection section) {
    switch (section) {
        case XmlSection::Patient: return "patient";
        case XmlSection::Interpretation: return "interpretation";
        case XmlSection::Additions: return "additions";
        case XmlSection::Comment: return "comment";
        case XmlSection::Measurements: return "measurements";
        case XmlSection::Analysis: return "analysis";
        case XmlSection::Record: return "record";
        case XmlSection::Wave: return "wave";
        case XmlSection::Report: return "report";
        case XmlSection::System: return "system";
        case XmlSection::Settings: return "settings";
        case XmlSection::Annotations: return "annotations";
    }
    return "?";
}

const char* ConfirmationName(Confirmation confirmation) {
    switch (confirmation) {
        case Confirmation::Confirmed: return "confirmed";
        case Confirmation::EditedAfter: return "edited";
        case Confirmation::None: return "none";
    }
    return "";
}

bool ParseConfirmation(const std::string& name, Confirmation* confirmation) {
    for (Confirmation c : {Confirmation::Confirmed, Confirmation::EditedAfter, Confirmation::None}) {
        if (name == ConfirmationName(c)) {
            *confirmation = c;
            return true;
        }
    }
    return false;
}

bool ParseSection(const std::string& name, XmlSection* section) {
    for (XmlSection s : AllSections()) {
        if (name == SectionName(s)) {
            *section = s;
            return true;
        }
    }
    return false;
}

RecordXmlSource SourceFromRecordItems(const zarn::ContainerBuilder& items, bool olderReader) {
    RecordXmlSource s;
    s.olderReader = olderReader;
    const std::vector<uint8_t>* code = items.Find(rec::kTagSystemCode, 0);
    uint16_t systemCode = 0;
    if (!code || !ItemUInt16(*code, &systemCode)) throw std::runtime_error("the record has no system code (tag 3346)");
    s.systemCode = systemCode;
    const std::vector<uint8_t>* kind = items.Find(rec::kTagRecordKind, 0);
    if (!kind || kind->empty() || static_cast<int8_t>((*kind)[0]) < 0 ||
        static_cast<int8_t>((*kind)[0]) > static_cast<int8_t>(RecordKind::ExtraLeads)) {
        if (!rec::KindOfSystemCode(systemCode, &s.kind)) s.kind = RecordKind::Rest12;
    } else {
        s.kind = static_cast<RecordKind>((*kind)[0]);
    }

    s.patient.id = ItemText(items, rec::kTagPatientId);
    s.patient.name = ItemText(items, rec::kTagPatientName);
    s.patient.sex = ItemText(items, rec::kTagPatientSex);
    s.patient.age = ItemText(items, rec::kTagPatientAge);
    s.patient.department = ItemText(items, rec::kTagDepartment);
    s.patient.comment = ItemText(items, rec::kTagComment);
    if (const std::vector<uint8_t>* t = items.Find(rec::kTagAcquisitionTime, 0)) {
        if (t->size() >= rec::kAcquisitionTimeSize) {
            const std::vector<uint8_t>& b = *t;
            s.time = DateTime{b[0] | (b[1] << 8), static_cast<int8_t>(b[2]), static_cast<int8_t>(b[3]),
                              static_cast<int8_t>(b[4]), static_cast<int8_t>(b[5]), static_cast<int8_t>(b[6])};
        }
    }

    // An extra-lead record with its layout items (4095) numbers the electrode
    // codes by extra-lead index; its standard twelve come first.
    const bool extraByIndex = s.kind == RecordKind::ExtraLeads && items.Find(extratag::kMode, 0);
    if (extraByIndex)
        for (int lead = 0; lead < rec::kRestLeadCount; ++lead) s.leads.push_back(RestSlotLead(lead));
    for (uint32_t lead = 0; lead < 64; ++lead) {
        const std::vector<uint8_t>* e = items.Find(rec::kTagElectrodeCode, lead);
        uint16_t c = 0;
        if (!e || !ItemUInt16(*e, &c)) break;
        s.leads.push_back(LeadOfCode(c));
    }

    if (const std::vector<uint8_t>* n = items.Find(rec::kTagEvents, 0)) {
        int32_t count = 0;
        if (ItemInt32(*n, &count)) {
            for (int32_t k = 1; k <= count; ++k) {
                const std::vector<uint8_t>* e = items.Find(rec::kTagEvents, static_cast<uint32_t>(k));
                int32_t position = 0;
                if (!e || !ItemInt32(*e, &position)) break;
                s.beats.push_back(position);
            }
        }
    }

    const std::vector<uint8_t>* samples = items.Find(rec::kTagRestLeadBase, 0);
    if (!samples) samples = items.Find(rec::kTagLeadSamples, 0);
    if (samples) s.seconds = static_cast<double>(samples->size() / 2) / rec::kRecordSampleRate;

    if (const std::vector<uint8_t>* blob = items.Find(rec::kTagBlob1, 0)) {
        if (blob->size() >= 16) s.heartRate = (*blob)[14] | ((*blob)[15] << 8);
    }
    if (s.heartRate <= 0 && s.beats.size() >= 2) s.heartRate = HeartRateOf(s.beats, rec::kRecordSampleRate);
    return s;
}

bool ReadRecordXmlSource(const std::string& recordPath, RecordXmlSource* source, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!zarn::ReadWholeFile(recordPath, &bytes, error)) return false;
    zarn::ContainerBuilder items;
    uint8_t flavour = 0;
    const zarn::ParseResult r = zarn::LoadContainer(bytes.data(), bytes.size(), &items, &flavour);
    if (!r.ok()) {
        *error = recordPath + ": not a valid record: " + zarn::StatusName(r.status) + " at byte " +
                 std::to_string(r.errorOffset);
        return false;
    }
    try {
        *source = SourceFromRecordItems(items, flavour == static_cast<uint8_t>(zarn::Flavour::Older80));
    } catch (const std::exception& e) {
        *error = recordPath + ": " + e.what();
        return false;
    }
    return true;
}

std::unique_ptr<XmlElement> MakeRecordXml(const RecordXmlSource& source, const RecordXmlOptions& options) {
    return RecordXmlWriter(source, options).Write();
}

void WriteRecordXml(const std::string& path, const RecordXmlSource& source, const RecordXmlOptions& options) {
    WriteXmlFile(path, *MakeRecordXml(source, options), options.encoding);
}

std::string RecordXmlPathFor(const std::string& recordPath, const DateTime& time) {
    const size_t slash = recordPath.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = recordPath.rfind('.');
    const size_t stemEnd = (dot == std::string::npos || dot < nameStart) ? recordPath.size() : dot;
    return recordPath.substr(0, stemEnd) +
           Fmt("%04d%02d%02d%02d%02d%02d", time.year, time.month, time.day, time.hour, time.minute, time.second) +
           ".xml";
}

RecordXmlSource SampleRecordXmlSource(RecordKind kind, bool olderReader) {
    return SourceFromRecordItems(MakeSampleRecord(kind).Items(), olderReader);
}

void WriteSampleRecordXml(const std::string& path, RecordKind kind, const RecordXmlOptions& options, bool olderReader) {
    WriteRecordXml(path, SampleRecordXmlSource(kind, olderReader), options);
}

}  // namespace morvelance
