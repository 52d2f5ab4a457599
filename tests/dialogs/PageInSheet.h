// One patient page shown in a modeless sheet over a document, the store
// filled as the forms fill it: the host the page tests share. Close (or the
// destructor) destroys the sheet before the document goes.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "core/TavrionDoc.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/SheetTestSupport.h"

namespace dialogtest {

template <class Page> class CPageInSheet {
public:
    ~CPageInSheet() { Close(); }

    // The page on a fresh desktop; with a `width` and `height`, on a screen
    // of that size (a page picks its fonts by it). A page shown before is
    // closed first.
    Page& Show(CTavrionDoc* doc, int type, LPCWSTR caption, int width = 0, int height = 0)
    {
        Close();
        doc->SetCtrlContent(nullptr);
        platform::ui::Desktop::Reset();
        if (width > 0) platform::ui::Desktop::SetScreenSize(width, height);
        m_page = std::make_unique<Page>();
        m_page->SetDoc(doc, type);
        m_sheet = std::make_unique<CPropertySheet>(caption);
        m_sheet->AddPage(m_page.get());
        EXPECT_TRUE(m_sheet->Create());
        platform::ui::Desktop::PumpMessages();
        return *m_page;
    }

    void Close()
    {
        if (m_sheet && m_sheet->GetSafeHwnd()) m_sheet->DestroyWindow();
        m_sheet.reset();
        m_page.reset();
    }

    // Selects the whole text of a field and types over it.
    void Retype(int id, LPCWSTR text) { sheettest::Retype(*m_page, id, text); }

    bool Shown(int id) const
    {
        CWnd* control = m_page->GetDlgItem(id);
        return control && (control->GetStyle() & WS_VISIBLE);
    }

private:
    std::unique_ptr<Page> m_page;
    std::unique_ptr<CPropertySheet> m_sheet;
};

}  // namespace dialogtest
