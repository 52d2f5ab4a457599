// The exercise document's record-XML readers: patient and interpretation,
// the summary of the test, the ST measurements, and the comment wrapping and
// percentage texts they share with the form.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TextColumns.h"
#include "documents/ExerTags.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExerXmlAccess.h"
#include "documents/RecordXmlText.h"
#include "documents/RecordPaths.h"

using namespace exer;
using namespace recordpath;

namespace {

const wchar_t kPatientSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section/";
const wchar_t kExercise[] = L"/Rawdata/Tavrion/Report/Exercise_section/";
const wchar_t kRecordSection[] = L"/Rawdata/Tavrion/Record/Record_section/";

const int kCommentChars = 500;
const int kCommentLines = 3;
const int kLineChars = 60;
const int kLineColumns = 60;
const int kLineCheckChars = 30;

CString Exercise(LPCWSTR tail)
{
    return CString(kExercise) + tail;
}

int ReadInt(CECGXMLParser& xml, const CString& path, int defaultValue)
{
    CString text;
    return ReadXmlValue(xml, path, text) && !text.IsEmpty() ? _wtoi(text) : defaultValue;
}

CString PointText(int point, int sampleRate)
{
    const int msPerSample = sampleRate > 0 ? 1000 / sampleRate : 0;
    CString text;
    text.Format(L"%3d ms", point * msPerSample);
    return text;
}

CString TenthsText(int tenths)
{
    CString text;
    text.Format(L"%d.%d", tenths / 10, std::abs(tenths % 10));
    return text;
}

// "35.4  ml/kg/min (10.1 METS 150 bpm)", with asterisks for what is missing.
CString Vo2MaxText(CTavrionDoc& doc, _ECGDATA* image)
{
    std::vector<BYTE> bytes;
    int vo2 = 0, mets = 0, hr = 0;
    const bool present = ReadItem(doc, image, TAG_VO2MAX, 0, bytes) && ItemLong(bytes, 0, vo2) &&
                         ItemLong(bytes, 4, mets) && ItemLong(bytes, 8, hr) &&
                         static_cast<unsigned>(vo2) != 0x80000000u;
    CString text;
    if (!present) {
        text.Format(L"%s %s", L"*.*", L" ml/kg/min ");
        return text + L"(*.* METS" + L" * bpm)";
    }
    text.Format(L"%s %s", TenthsText(vo2).GetString(), L" ml/kg/min ");
    text += L"(" + TenthsText(mets) + L" METS";
    CString rate;
    rate.Format(L" %d bpm)", hr);
    return text + rate;
}

CString PwcText(const _EXERDATAITEM& item)
{
    const int h = static_cast<int>(item.stInterpre.sHr100Percent * 0.75);
    const double m = (h * item.stResult.dSlope + item.stResult.dIntercept) * 10.0;
    const int metsTenths = static_cast<int>(m);
    const double weight = _wtof(item.stPatient.strWeight);
    // Only a line through the origin gives no load: a fraction of a tenth still
    // counts as METs below 1.
    const double watts = m != 0.0 ? (metsTenths * 0.1 - 1.0) * weight * 2.0 / 7.0 : 0.0;
    CString text;
    text.Format(L"%d W ( %d.%d METs %d )", static_cast<int>(watts), metsTenths / 10, std::abs(metsTenths % 10), h);
    return text;
}

}  // namespace

// ---- comment wrapping and percentages ----------------------------------------------

// Lays the text into the comment's lines; returns how many of its leading
// characters the lines hold (a break after the last line is none of them).
static int LayCommentLines(const CString& text, CString (&lines)[kCommentLines])
{
    int line = 0;
    CString current;
    int i = 0;
    const int n = text.GetLength();
    while (i < n && line < kCommentLines) {
        const wchar_t ch = text[i];
        if (ch == L'\r' || ch == L'\n') {
            lines[line++] = current;
            current.Empty();
            if (line == kCommentLines) break;
            ++i;
            if (ch == L'\r' && i < n && text[i] == L'\n') ++i;
            continue;
        }
        current += ch;
        ++i;
        const bool full = current.GetLength() >= kLineChars;
        const bool wideFull =
            !full && current.GetLength() >= kLineCheckChars && GetTextColumns(current) >= kLineColumns;
        if (!full && !wideFull) continue;
        // Wide characters fill the line before 60 of them: give back what overflows.
        while (wideFull && GetTextColumns(current) > kLineColumns) {
            current = current.Left(current.GetLength() - 1);
            --i;
        }
        lines[line++] = current;
        current.Empty();
        if (line == kCommentLines) break;
        // A break right after a full line ends that line, not an empty one:
        // the saved comment reads back as it was written.
        if (i < n && text[i] == L'\r') ++i;
        if (i < n && text[i] == L'\n') ++i;
    }
    if (line < kCommentLines && !current.IsEmpty()) lines[line] = current;
    return i;
}

CString CExerViewDoc::FitComment(const CString& text)
{
    // The three lines of 60 columns are the limit: the breaks between them
    // take no room, so a comment stored as three full lines fits whole.
    const CString within = text.Left(kCommentChars);
    CString lines[kCommentLines];
    return within.Left(LayCommentLines(within, lines));
}

CString CExerViewDoc::WrapComment(const CString& source)
{
    CString lines[kCommentLines];
    LayCommentLines(source.Left(kCommentChars), lines);
    CString joined;
    joined.Format(L"%s\r\n%s\r\n%s", lines[0].GetString(), lines[1].GetString(), lines[2].GetString());
    return joined;
}

CString CExerViewDoc::PercentText(CString& strHr, int nMode, int nRestHr, int nHr100)
{
    const int hr = _wtoi(strHr);
    CString text;
    if (hr < 0) {
        strHr.Empty();
        text.Format(L"  * %% of MHR (%3d bpm)", nHr100);
        return text;
    }
    // A missing maximum heart rate, or one equal to the resting rate, gives no share.
    int percent = 0;
    if (nMode == 0 && nHr100 != 0) {
        percent = static_cast<int>(std::floor(hr * 100.0 / nHr100 + 0.5));
    } else if (nMode == 1 && nRestHr >= 0 && nHr100 != nRestHr) {
        percent = static_cast<int>(std::floor((hr - nRestHr) * 100.0 / (nHr100 - nRestHr) + 0.5));
    }
    text.Format(L"%3d %% of MHR (%3d bpm)", percent, nHr100);
    return text;
}

// ---- readers ----------------------------------------------------------------------------

int CExerViewDoc::GetDataInfoFromXMLFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    GetCtrlPosFromXSL(LOAD_POS_EXER);
    _EXERDATAITEM& item = *pItem;
    _INTERPRE_INFO_EXER& info = item.stInterpre;
    {
        CECGXMLParser xml(item.strXMLPath, 0, CString());
        auto entry = [&](int index, int alt, CString& text) {
            return ReadXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, alt), text);
        };
        GetPatInfoFromXML(static_cast<int>(item.uSystemCode), item.stPatient, &xml);
        GetPatInfoFromRecordFile(item.strXMLPath, item.pECGData, item.stPatient, item.strFilePath);
        if (!item.pAnnoHead) item.pAnnoHead = new _ANNOTATION_INFO;
        GetAnnoInfoFromXML(item.pAnnoHead, &xml);

        CString text;
        auto index = [&](int entryIndex) {
            return ReadXmlIndex(xml, GetDefXMLPath(LAYOUT_KIND_EXER, entryIndex, 0));
        };
        entry(EXER_ENTRY_MEDICATION1, 1, info.strMedication1);
        info.nMedication1Code = index(EXER_ENTRY_MEDICATION1);
        entry(EXER_ENTRY_MEDICATION2, 1, info.strMedication2);
        info.nMedication2Code = index(EXER_ENTRY_MEDICATION2);
        entry(EXER_ENTRY_SYMPTON, 0, info.strSympton);
        entry(EXER_ENTRY_DISEASE, 0, info.strDisease);
        entry(EXER_ENTRY_DEPARTMENT, 0, info.strDepartment);
        entry(EXER_ENTRY_WARD, 0, info.strWard);
        ReadXmlValue(xml, kRoomNumber, info.strRoomNumber);
        info.bReqSection =
            ReadXmlValue(xml, kRequestSection, info.strReqSection) ? 1 : 0;
        entry(EXER_ENTRY_REQ_DOCTOR, 0, info.strReqDoctor);
        entry(EXER_ENTRY_TECHNICIAN, 0, info.strTechnician);

        // Only real dates are shown.
        const RecordDateCheck check = RecordDateCheck::Calendar;
        item.strPatientEditTime = ReadRecordDate(xml, kPatientEditTime, check);
        ReadXmlValue(xml, kPatientEditorName, info.strPatientEditor);
        info.strPatientEditDate = ReadRecordDate(xml, kPatientEditDate, check);

        info.stBirthday = CheckBirthday(ReadBirthdayAttributes(xml));

        ReadXmlValue(xml, kAnalysisEditor, info.strAnalysisEditor);
        info.strAnalysisEditDate =
            ReadAnalysisDate(xml, kAnalysisDate, kAnalysisEditDate, AnalysisDateRead::FirstThenSecond);

        CString code;
        entry(EXER_ENTRY_IVREL_CODE, 0, code);
        info.strIvrelText = LookupIvrelText(code);
        entry(EXER_ENTRY_IVREL_VALUE, 0, info.strIvrelValue);

        ReadXmlValue(xml, kCommentEditor, info.strCommentEditor);
        info.strCommentEditDate =
            ReadRecordDate(xml, kCommentDate, check);
        info.strComment = entry(EXER_ENTRY_COMMENT, 0, text) ? WrapComment(text) : CString();
    }
    GetParameterFromXMLFile(pItem);
    GetAveRhyInfoFromXMLFile(pItem);
    GetSummaryInfoFromXMLFile(pItem);
    GetResultInfoFromXMLFile(pItem);
    return 0;
}

int CExerViewDoc::GetSummaryInfoFromXMLFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    _EXERDATAITEM& item = *pItem;
    _INTERPRE_INFO_EXER& info = item.stInterpre;
    CECGXMLParser xml(item.strXMLPath, 0, CString());
    auto entry = [&](int index, int alt, CString& text) {
        return ReadXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, alt), text);
    };
    CString text;
    ReadXmlValue(xml, CString(kPatientSection) + L"Race", info.strRace);
    entry(EXER_ENTRY_LOAD, 0, info.strLoad);

    const CString loadTime = GetDefXMLPath(LAYOUT_KIND_EXER, EXER_ENTRY_LOAD_TIME, 0);
    const bool minuteRead = xml.GetDataFromXMLDOM(text, loadTime, 2, L"minute") != FALSE;
    const int minutes = minuteRead ? _wtoi(text) : 0;
    const bool secondRead = xml.GetDataFromXMLDOM(text, loadTime, 2, L"second") != FALSE;
    const int seconds = secondRead ? _wtoi(text) : 0;
    // -1: the XML does not say; the document takes the record's own length.
    item.nExerTime = minuteRead || secondRead ? minutes * 60 + seconds : -1;
    if (entry(EXER_ENTRY_LOAD_TIME, 1, text) && !text.IsEmpty() && text.Find(L'*') < 0)
        info.strLoadTime.Format(L"%02d'%02d''(%3.1f METs)", minutes, seconds, _wtoi(text) / 10.0);
    else
        info.strLoadTime.Format(L"%02d'%02d''(* METs)", minutes, seconds);

    info.nStopCondition = ReadXmlIndex(xml, GetDefXMLPath(LAYOUT_KIND_EXER, EXER_ENTRY_STOP_CONDITION, 0));
    info.strMaxHr = entry(EXER_ENTRY_MAX_HR, 0, text) ? SummaryHeartRateText(text) : CString();
    info.strTargetHr = entry(EXER_ENTRY_TARGET_HR, 0, text) ? SummaryHeartRateText(text) : CString();
    info.nHrCalculate = ReadInt(xml, Exercise(L"Hr/Hr_calculate"), 0);
    item.sRestHr = static_cast<short>(ReadInt(xml, Exercise(L"Hr/Rest_hr"), 0));
    info.sHr100Percent = static_cast<short>(ReadInt(xml, Exercise(L"Hr/Hr_100percent"), 0));

    item.nStLevelPoint = static_cast<short>(entry(EXER_ENTRY_ST_LEVEL, 0, text) ? _wtoi(text) : 0);
    info.strStLevelPoint = PointText(item.nStLevelPoint, item.nSampleRate);
    item.nStSlopePoint = static_cast<short>(entry(EXER_ENTRY_ST_SLOPE, 0, text) ? _wtoi(text) : 0);
    info.strStSlopePoint = PointText(item.nStSlopePoint, item.nSampleRate);

    for (int n = 1; n <= EXER_LEAD_NAMES; ++n) {
        CString path;
        path.Format(L"%sLead_info/Lead_name/Lead_name_element[@number='%d']", kExercise, n);
        ReadXmlValue(xml, path, item.strLeadName[n - 1]);
    }
    item.nFilterStatus = ReadInt(xml, CString(kRecordSection) + L"Filter_status", 0);
    item.fAcqSense = ReadXmlValue(xml, CString(kRecordSection) + L"Acq_sense", text) && !text.IsEmpty()
                         ? static_cast<float>(_wtof(text))
                         : 10.0f;
    info.strVo2Max = Vo2MaxText(*this, item.pECGData);
    CopySummaryTexts(pItem);
    info.strPwc = PwcText(item);
    return 0;
}

void CExerViewDoc::CopySummaryTexts(_EXERDATAITEM* pItem)
{
    _INTERPRE_INFO_EXER& info = pItem->stInterpre;
    info.strMaxPercent = PercentText(info.strMaxHr, info.nHrCalculate, pItem->sRestHr, info.sHr100Percent);
    info.strTargetPercent = PercentText(info.strTargetHr, info.nHrCalculate, pItem->sRestHr, info.sHr100Percent);
}

int CExerViewDoc::GetAveRhyInfoFromXMLFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    _EXERDATAITEM& item = *pItem;
    CECGXMLParser xml(item.strXMLPath, 0, CString());
    item.nStMeasCondition = ReadInt(xml, Exercise(L"Test_point/St_meas_condition"), 0);
    item.nOnset = ReadInt(xml, Exercise(L"Test_point/Onset"), 0);
    item.nOffset = ReadInt(xml, Exercise(L"Test_point/Offset"), 0);
    item.nSlope1Point = ReadInt(xml, Exercise(L"Test_point/St_slope1"), 0);
    auto extra3 = [&](int n, LPCWSTR field) {
        CString path;
        path.Format(L"%sExtra3/Extra3_element[@number='%d']/%s", kExercise, n, field);
        return ReadInt(xml, path, 0);
    };
    for (int n = 1; n <= EXER_EXTRA3_LEADS; ++n) item.nExtra3Lead[n - 1] = extra3(n, L"Lead_code");
    item.nMaxStMode = ReadInt(xml, Exercise(L"Extra3/Max_st_mode"), 0);
    item.nMaxStTime = ReadInt(xml, Exercise(L"Extra3/Max_st_time"), 0);
    for (int n = 1; n <= EXER_EXTRA3_LEADS; ++n) {
        item.nStLevelRest[n - 1] = extra3(n, L"St_level_rest");
        item.nStLevelEnd[n - 1] = extra3(n, L"St_level_end");
        item.nStLevelMax[n - 1] = extra3(n, L"St_level_max");
        item.nStSlopeEnd[n - 1] = extra3(n, L"St_slope2_end");
        item.nStSlopeMax[n - 1] = extra3(n, L"St_slope2_max");
    }
    item.nEndHr = ReadInt(xml, Exercise(L"Extra3/Hr/End_hr"), 0);
    item.nMaxStHr = ReadInt(xml, Exercise(L"Extra3/Hr/Max_st_hr"), 0);
    return 0;
}
