// The exercise document's trend and result readers: the METs-from-heart-rate
// line fitted to the stages of the test, and the target heart-rate table
// computed from it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/ECGXMLParser.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExerXmlAccess.h"

using namespace exer;

namespace {

const wchar_t kTrend[] = L"/Rawdata/Tavrion/Report/Exercise_section/Trend/";
const wchar_t kExercise[] = L"/Rawdata/Tavrion/Report/Exercise_section/";

const int kTrendPoints = 200;
const int kStagePoints = 120;
const int kPointsPerMinute = 4;   // a trend point stands for 15 s
const short kNoHeartRate1 = -32768;
const short kNoHeartRate2 = -1;
const int kPatientAgeEntry = 11;  // the age in the patient-strip layout table

const int kShares[EXER_RESULT_ROWS] = {40, 50, 60, 70, 75, 80, 85, 90, 95, 100};

enum ResultColumn { COL_PERCENT, COL_HR, COL_METS, COL_VO2, COL_ENERGY, COL_RSP, COL_WSP, COL_LOAD };

double RoundHalfAway(double value)
{
    return value < 0 ? -std::floor(-value + 0.5) : std::floor(value + 0.5);
}

double RoundHalfUp(double value)
{
    return std::floor(value + 0.5);
}

double RoundTenth(double value)
{
    return RoundHalfUp(value * 10.0) / 10.0;
}

// One trend array: Size, then the elements numbered from 1. Only the first
// `capacity` entries are kept, whatever Size says.
std::vector<short> ReadTrend(CECGXMLParser& xml, LPCWSTR name, int capacity, int& size)
{
    std::vector<short> values(static_cast<size_t>(capacity), 0);
    CString text;
    CString path;
    path.Format(L"%s%s/Size", kTrend, name);
    size = ReadXmlValue(xml, path, text) ? _wtoi(text) : 0;
    if (size < 0) size = 0;
    const int count = std::min(size, capacity);
    for (int n = 1; n <= count; ++n) {
        path.Format(L"%s%s/%s_element[@number='%d']", kTrend, name, name, n);
        if (ReadXmlValue(xml, path, text)) values[static_cast<size_t>(n - 1)] = static_cast<short>(_wtoi(text));
    }
    return values;
}

struct MetsPoint {
    int nHr;
    int nMets;   // tenths
};

// The last point of every stage whose length is a whole number of its
// planned minutes, walked over the load half of the trend.
std::vector<MetsPoint> StagePoints(const std::vector<short>& hr, const std::vector<short>& stages,
                                   const std::vector<short>& states, const std::vector<short>& mets, int metsSize)
{
    std::vector<MetsPoint> points;
    const int last = std::min(metsSize / 2, kTrendPoints);
    int run = 0;
    for (int i = 1; i < last; ++i) {
        run = (i > 1 && states[i] == states[i - 1]) ? run + 1 : 1;
        const bool stageEnds = i + 1 >= last || states[i + 1] != states[i];
        if (!stageEnds) continue;
        // Stage_info holds two entries per stage: a test with more stages
        // than it holds takes no further point.
        const size_t stageEntry = 2 * points.size();
        if (stageEntry >= stages.size()) break;
        const int minutes = stages[stageEntry];
        if (minutes <= 0 || run % (kPointsPerMinute * minutes) != 0) continue;
        if (hr[i] == kNoHeartRate1 || hr[i] == kNoHeartRate2) continue;
        points.push_back({hr[i], mets[i]});
    }
    return points;
}

void FitMetsLine(const std::vector<MetsPoint>& points, double& slope, double& intercept)
{
    slope = 0.0;
    intercept = 0.0;
    if (points.empty()) return;
    const double k = static_cast<double>(points.size());
    double sumHr = 0.0, sumMets = 0.0;
    for (const MetsPoint& p : points) {
        sumHr += p.nHr;
        sumMets += p.nMets;
    }
    const double meanHr = RoundHalfAway(sumHr / k);
    const double meanMets = RoundHalfAway(10.0 * sumMets / k);   // hundredths
    double covariance = 0.0, variance = 0.0;
    for (const MetsPoint& p : points) {
        covariance += (p.nMets - meanMets * 0.1) * (p.nHr - meanHr) * 0.1 / k;
        variance += (p.nHr - meanHr) * (p.nHr - meanHr) / k;
    }
    if (variance == 0.0) variance = 1.0;
    const double rawSlope = covariance / variance;
    intercept = std::trunc((meanMets * 0.01 - meanHr * rawSlope) * 10.0) * 0.1;
    slope = RoundHalfAway(rawSlope * 1000.0) * 0.001;
}

// The patient's age in years from the record's age attributes.
double AgeInYears(const _XML_ATTRIB_AGE& age)
{
    const double years = _wtof(age.strYear);
    const double months = _wtof(age.strMonth) / 12.0;
    const double weeks = _wtof(age.strWeek) * 7.0 / 365.0;
    const double days = _wtof(age.strDay) / 365.0;
    // Ages in hours (and days and hours) are those of newborns: the tables
    // start at column 0 for them.
    switch (age.nUnit) {
    case 0: return years;
    case 1: return months;
    case 2: return weeks;
    case 3: return days;
    case 16: return years + months;
    case 17: return months + weeks;
    case 18: return weeks + days;
    default: return 0.0;
    }
}

CString IntCell(double value)
{
    CString text;
    if (value >= 0) text.Format(L"%d", static_cast<int>(value));
    return text;
}

CString TenthCell(double value)
{
    CString text;
    if (value >= 0) text.Format(L"%3.1f", value);
    return text;
}

}  // namespace

int CExerViewDoc::GetParameterFromXMLFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    int hrSize = 0, stageSize = 0, stateSize = 0, metsSize = 0;
    const std::vector<short> hr = ReadTrend(xml, L"Rest_hr", kTrendPoints, hrSize);
    const std::vector<short> stages = ReadTrend(xml, L"Stage_info", kStagePoints, stageSize);
    const std::vector<short> states = ReadTrend(xml, L"Hr_states", kTrendPoints, stateSize);
    const std::vector<short> mets = ReadTrend(xml, L"Mets", kTrendPoints, metsSize);
    double slope = 0.0, intercept = 0.0;
    if (metsSize / 2 >= 2) FitMetsLine(StagePoints(hr, stages, states, mets, metsSize), slope, intercept);
    pItem->stResult.dSlope = slope;
    pItem->stResult.dIntercept = intercept;
    return 0;
}

int CExerViewDoc::GetResultInfoFromXMLFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    _EXER_RESULT_INFO& result = pItem->stResult;
    for (auto& column : result.strValue) {
        for (CString& cell : column) cell.Empty();
    }
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    CString text;
    const int maxHrCalculate = ReadXmlValue(xml, CString(kExercise) + L"Hr/Max_hr_calculate", text) ? _wtoi(text) : 0;
    const int sport = ReadXmlValue(xml, CString(kExercise) + L"Lead_info/Sport", text) ? _wtoi(text) : 0;
    if (ReadXmlValue(xml, CString(kExercise) + L"Vo2_max", text) && _wtoi(text) > 1000) return 0;
    if (static_cast<int>(result.dSlope) == 0 && static_cast<int>(result.dIntercept) == 0) return 0;

    _XML_ATTRIB_AGE age;
    const double years = xml.GetAgeAttrib(age, GetDefXMLPath(0, kPatientAgeEntry, 0)) ? AgeInYears(age) : 0.0;
    const double weight = _wtof(pItem->stPatient.strWeight);
    const int mode = pItem->stInterpre.nHrCalculate;
    const double rest = pItem->sRestHr;
    const double hr100 = pItem->stInterpre.sHr100Percent;
    const unsigned code = pItem->uSystemCode;

    for (int row = 0; row < EXER_RESULT_ROWS; ++row) {
        const int p = kShares[row];
        double hr;
        if (mode == 1)
            hr = (hr100 - rest) * p * 0.01 + rest;
        else if (maxHrCalculate != 0)
            hr = LookupHr(p, years, sport);
        else
            hr = p * hr100 * 0.01;
        hr = RoundHalfUp(hr);
        const double mets = hr * result.dSlope + result.dIntercept;
        const double vo2 = mets * 3.5;
        double energy = -1.0;
        if (code == 0xFFFC) energy = (mets - 1.0) * weight * 0.0175 * 10.0;
        if (code == 0xFFFA || code == 0xFFFD) energy = (mets - 1.0) * weight * 2.0 / 7.0 * 0.0010301724137931 * 600.0;
        const double run = RoundTenth(0.3 * (vo2 - 3.5));
        const double walk = RoundTenth(0.6 * (vo2 - 3.5));
        const double load = (mets - 1.0) * weight * 2.0 / 7.0;

        result.strValue[COL_PERCENT][row] = IntCell(p);
        result.strValue[COL_HR][row] = IntCell(hr);
        result.strValue[COL_METS][row] = TenthCell(mets);
        result.strValue[COL_VO2][row] = TenthCell(RoundTenth(vo2));
        result.strValue[COL_ENERGY][row] = IntCell(RoundHalfUp(energy));
        if (run >= 4.0) result.strValue[COL_RSP][row] = TenthCell(run);
        if (walk <= 8.0) result.strValue[COL_WSP][row] = TenthCell(walk);
        result.strValue[COL_LOAD][row] = IntCell(RoundHalfUp(load));
    }
    return 0;
}
