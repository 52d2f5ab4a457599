// What the report tests share: a report whose job step a test writes, a
// host notification window that logs the end of every job, and a print
// device over the recording driver with the geometry of an A4 landscape
// page at 600 dots per inch.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/UserMessages.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Wnd.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintAnno.h"
#include "reports/ECGPrintReport.h"

namespace reporttest {

// The protected parts a host's report reaches, opened for the tests.
template <class Base> class CTestReportOf : public Base {
public:
    using Base::CreatePrintFont;
    using Base::FormatAnalyseInfo;
    using Base::FormatBPValue;
    using Base::FormatPrintAge;
    using Base::FormatPrintBirthday;
    using Base::FormatUnit;
    using Base::FormatWeightHeight;
    using Base::GetExerConfirmInfo;
    using Base::GetExtraConfirmInfo;
    using Base::GetRestConfirmInfo;
    using Base::GetRhythmConfirmInfo;
    using Base::GetRRConfirmInfo;
    using Base::m_DocType;
    using Base::m_fPixelPerMM;
    using Base::m_nPrintHeight;
    using Base::m_nPrintWidth;
    using Base::m_pDlgPrintStatus;
    using Base::m_pDoc;
    using Base::m_pECGDC;
    using Base::m_pPrinter;
    using Base::m_pPrintFont;
    using Base::m_pXMLParser;
    using Base::m_nVisibleMask;
    using Base::m_PrintType;
    using Base::m_rcPrint;
    using Base::m_strDisplayInfo1;
    using Base::m_strDisplayInfo2;
    using Base::PrintAmeInterpreInfo;
    using Base::PrintAmeMiniAndIvrel;
    using Base::PrintComment;
    using Base::PrintExtraInterpreInfo;
    using Base::PrintRhyInterpreInfo;
    using Base::PrintRRInterpreInfo;
    using Base::PrintMiniAndIvrel;
    using Base::PrintRestInterpreInfo;
    using Base::PrintPatientInfo;
    using Base::PrintTitle;
    using Base::PrintVersion;
    using Base::UpdateInterpreDisplay;
    using Base::UpdateRestDisplayInfo;

    // Takes the record XML of a block test without a job.
    void OpenXml(const CString& path)
    {
        delete this->m_pXMLParser;
        this->m_pXMLParser = new CECGXMLParser(path, this->m_pDoc ? this->m_pDoc->Is8000File() : 0, CString());
    }
};

class CTestReport : public CTestReportOf<CECGPrintReport> {
public:
    using CECGPrintReport::m_bHideStatus;
    using CECGPrintReport::m_bPrintShown;
    using CECGPrintReport::m_lPrintOption;
    using CECGPrintReport::m_lPrintStyle;
    using CECGPrintReport::m_nCurrentPage;
    using CECGPrintReport::m_nPageCount;
    using CECGPrintReport::PrintRestInterpre;
    using CECGPrintReport::PrintRhythmComment;
    using CECGPrintReport::PrintRRIntervalList;
    using CECGPrintReport::PrintRRResult;
    using CECGPrintReport::PrintRhythmWave;
    using CECGPrintReport::PrintRhythmWaveAme;
    using CECGPrintReport::UpdateExtraDisplayInfo;

    std::function<short(CTestReport&)> step;   // the job step; none prints nothing and succeeds
    // What the members held while the step ran.
    long styleSeen = 0;
    BOOL shownSeen = 0;
    BOOL hiddenSeen = 0;

protected:
    short PrintReport() override
    {
        styleSeen = m_lPrintStyle;
        shownSeen = m_bPrintShown;
        hiddenSeen = m_bHideStatus;
        return step ? step(*this) : 0;
    }
};

class CTestAnno : public CTestReportOf<CECGPrintAnno> {
public:
    using CECGPrintAnno::CalculateWaveOffset;
    using CECGPrintAnno::PrintRestInterpreAnnotation;
    using CECGPrintAnno::PrintRhythmWaveAmeAnnotation;
    using CECGPrintAnno::PrintRhythmWaveAnnotation;
    std::function<short(CTestAnno&)> step;

protected:
    short PrintAnnotation() override { return step ? step(*this) : 0; }
};

// The host window that learns of every job's end.
class CJobEndLog : public CWnd {
public:
    int ended = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PRINT_JOB_ENDED && wParam == 0 && lParam == 0) ++ended;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// An A4 landscape page at 600 dpi (23.62 px/mm) with 10 mm margins, over a
// recording device of the given print type.
class RecordingPage {
public:
    static constexpr int kWidth = 7016;
    static constexpr int kHeight = 4961;

    explicit RecordingPage(_PRINT_TYPE type = 2)
        : m_hdc(platform::gdi::CreateRecordingDC(kWidth, kHeight)), m_ecgdc(nullptr, type)
    {
        m_dc.Attach(m_hdc);
        m_ecgdc.SetDC(&m_dc);
    }
    ~RecordingPage()
    {
        m_dc.Detach();
        DeleteDC(m_hdc);
    }
    RecordingPage(const RecordingPage&) = delete;
    RecordingPage& operator=(const RecordingPage&) = delete;

    // Gives the report the page as GetPrinterParameter would.
    template <class Report> void Attach(Report& report)
    {
        report.m_pECGDC = &m_ecgdc;
        report.m_fPixelPerMM = 600.0f / 25.4f;
        const int margin = static_cast<int>(10 * report.m_fPixelPerMM);
        report.m_rcPrint = CRect(margin, margin, kWidth - margin, kHeight - margin);
        report.m_nPrintWidth = report.m_rcPrint.Width();
        report.m_nPrintHeight = report.m_rcPrint.Height();
        report.m_PrintType = m_ecgdc.GetPrintType();
        ASSERT_TRUE(report.CreatePrintFont());
    }

    // The texts drawn so far, in order.
    std::vector<platform::gdi::DrawRecord> Texts() const
    {
        std::vector<platform::gdi::DrawRecord> texts;
        for (const auto& record : platform::gdi::GetRecording(m_hdc))
            if (record.op == platform::gdi::DrawOp::Text) texts.push_back(record);
        return texts;
    }
    std::wstring AllText() const
    {
        std::wstring all;
        for (const auto& text : Texts()) all += text.text;
        return all;
    }
    void Clear() { platform::gdi::ClearRecording(m_hdc); }
    CECGDC& Device() { return m_ecgdc; }
    CDC& Dc() { return m_dc; }

private:
    HDC m_hdc;
    CDC m_dc;
    CECGDC m_ecgdc;
};

}  // namespace reporttest
