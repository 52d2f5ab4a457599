// The serial comparison pages' tests share a patient's series written by the
// record maker: every resting record open in one rest document, the MFER
// files in one MFER document, all of them named by the base document's list
// (each marked loaded) with a record of another kind between them, and a
// host window that logs what the panes send the host.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/SerialSeries.h"

namespace serialtest {

// Positions of the series in the base list: the ten records of the patient
// (comparable indices 0 to 9), a rhythm record that does not compare, the
// other patient's record (index 10) and the two MFER files (11, 12).
constexpr int kPatientRecords = 10;
constexpr int kOtherPatientIndex = 10;
constexpr int kMfer12Index = 11;

class SerialPaneFixture : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        platform::ui::Desktop::Reset();
        m_base.m_bAutoDelete = m_rest.m_bAutoDelete = m_mfer.m_bAutoDelete = FALSE;
        m_files = morvelance::WriteSerialSeries(m_dir.Path(), &m_xmls);
        // The record XML's paths come from the layout, loaded once before any record opens.
        m_base.GetCtrlPosFromXSL(LOAD_POS_REST);
        for (size_t i = 0; i < m_files.size(); ++i) {
            if (i == kPatientRecords) AddListed(0x000A, L"rhythm.xml", L"rhythm.ecg");   // a rhythm record between them
            ASSERT_TRUE(Load(m_files[i], m_xmls[i])) << m_files[i];
        }
        m_base.SetCurDataIndex(m_listed.front()->nID);
        // Current records only once all are open: opening a record stores the
        // current one from the (here absent) forms first.
        m_rest.SetCurDataIndex(0);
        static_cast<CTavrionDoc&>(m_mfer).SetCurDataIndex(0);
        m_screen.Use(m_base, 1920, 1080);
        m_rest.InitGlobalData();
        m_mfer.InitGlobalData();
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_base.SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        if (m_notify.GetSafeHwnd()) m_notify.DestroyWindow();
        testsupport::DocumentTest::TearDown();
    }

    _DATAITEM* AddListed(unsigned code, const CString& xml, const CString& file)
    {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = code;
        listed->strXMLPath = xml;
        listed->strFilePath = file;
        listed->bLoaded = 1;
        return m_base.GetDataManager().AppendItem(listed);
    }

    bool Load(const std::string& record, const std::string& xml)
    {
        CString file = testsupport::Wide(record), xmlPath = testsupport::Wide(xml);
        unsigned code = 0;
        if (xml.empty()) {
            auto* item = new _MFERDATAITEM;
            item->strFilePath = file;
            m_mfer.GetMFERDataManager()->AppendItem(item);
            CString none, third;
            if (m_mfer.OpenMFERFile(file, none, third) != 0) return false;
            code = item->uSystemCode;
        } else {
            _RESTDATAITEM* item = m_rest.GetRestDataManager().AppendItem(
                testsupport::NewRecordItem<_RESTDATAITEM>(record, xml));
            if (m_rest.OpenFile(xmlPath, file) != 0) return false;
            code = item->uSystemCode;
        }
        m_listed.push_back(AddListed(code, xml.empty() ? CString() : xmlPath, file));
        return true;
    }

    // The record of a comparable index among the series.
    _RESTDATAITEM* RestRecord(int index)
    {
        return m_rest.GetRestDataManager().GetItem(m_listed[index]->strXMLPath, m_listed[index]->strFilePath,
                                                   CString());
    }

    CTavrionDoc m_base;
    CRestViewDoc m_rest;
    CMFERViewDoc m_mfer;
    std::vector<std::string> m_files;
    std::vector<std::string> m_xmls;
    std::vector<_DATAITEM*> m_listed;   // in the base list's order, the rhythm record left out
    panetest::ScopedScreen m_screen;
    panetest::CNotifyLog m_notify;
};

}  // namespace serialtest
