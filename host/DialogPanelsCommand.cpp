// Every panel of the page panes in one image, as the panes create them: on
// the record's document, in its frame colours, one under the other.
#include "host/DialogPanelsCommand.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/Dlg3DControl.h"
#include "dialogs/DlgCommentCtrl.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgExerLeadSel.h"
#include "dialogs/DlgExerTimer.h"
#include "dialogs/DlgLimbChest.h"
#include "dialogs/DlgPreNext.h"
#include "dialogs/DlgSerialCom.h"
#include "dialogs/DlgSerialText.h"
#include "host/ModalSnapshot.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/Brush.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {
namespace {

using platform::ui::Desktop;

const int kMargin = 8;
const int kSheetWidth = 480;
const int kBackgroundSlot = 20;   // the record's text background

// The pane stand-in the panels stand on, painted in the record's background.
class CPanelSheet : public CWnd {
public:
    COLORREF background = RGB(255, 255, 255);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            CRect client;
            GetClientRect(&client);
            dc.FillSolidRect(&client, background);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CString FileName(const std::string& file)
{
    const size_t slash = file.find_last_of('/');
    return CString(platform::FromUtf8(slash == std::string::npos ? file : file.substr(slash + 1)).c_str());
}

}  // namespace

bool RenderPanels(CTavrionDoc& doc, const std::string& file, const std::string& png)
{
    CPanelSheet sheet;
    sheet.background = doc.GetWaveColor(kBackgroundSlot);
    if (!sheet.CreateEx(0, nullptr, L"panels", WS_POPUP | WS_VISIBLE, CRect(0, 0, kSheetWidth, 400), nullptr, 0)) {
        std::fprintf(stderr, "morvelance-host: the panels' window could not be made\n");
        return false;
    }
    std::vector<std::unique_ptr<CDlgCtrl>> panels;
    auto add = [&](std::unique_ptr<CDlgCtrl> panel, UINT id) -> CDlgCtrl* {
        panel->SetECGDoc(&doc);
        if (!panel->Create(id, &sheet)) {
            std::fprintf(stderr, "morvelance-host: panel %u could not be made\n", id);
            return nullptr;
        }
        panels.push_back(std::move(panel));
        return panels.back().get();
    };
    add(std::make_unique<CDlg3DControl>(&sheet), CDlg3DControl::IDD);
    add(std::make_unique<CDlgDetailUpdate>(&sheet), CDlgDetailUpdate::IDD);
    add(std::make_unique<CDlgExerLeadSel>(&sheet), CDlgExerLeadSel::IDD);
    add(std::make_unique<CDlgExerTimer>(&sheet), CDlgExerTimer::IDD);
    add(std::make_unique<CDlgLimbChest>(&sheet), CDlgLimbChest::IDD);
    add(std::make_unique<CDlgPreNext>(&sheet), CDlgPreNext::IDD);
    if (CDlgCtrl* chooser = add(std::make_unique<CDlgSerialCom>(&sheet), CDlgSerialCom::IDD)) {
        const CString name = FileName(file);
        chooser->SendDlgItemMessage(3500, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name)));
        chooser->SendDlgItemMessage(3500, CB_SETCURSEL, 0);
    }
    if (CDlgCtrl* caption = add(std::make_unique<CDlgSerialText>(&sheet), CDlgSerialText::IDD))
        caption->SetDlgItemText(3501, FileName(file));
    if (CDlgCtrl* panel = add(std::make_unique<CDlgCommentCtrl>(&sheet), CDlgCommentCtrl::IDD)) {
        CString comment;
        doc.GetCtrlData(4017, comment);
        if (comment.IsEmpty()) comment = FileName(file);
        static_cast<CDlgCommentCtrl*>(panel)->SetComment(comment);
    }

    int top = kMargin;
    int width = 0;
    for (auto& panel : panels) {
        CRect rect;
        panel->GetWindowRect(&rect);
        panel->SetWindowPos(nullptr, kMargin, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        panel->ShowWindow(SW_SHOW);
        top += rect.Height() + kMargin;
        width = std::max(width, rect.Width());
    }
    sheet.SetWindowPos(nullptr, 0, 0, std::max(kSheetWidth, width + 2 * kMargin), top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sheet.Invalidate(TRUE);
    Desktop::PumpMessages();
    sheet.UpdateWindow();
    for (auto& panel : panels) panel->UpdateWindow();
    if (DialogsShownToPerson()) {
        const bool kept = RunForPerson(sheet.m_hWnd);
        for (auto& panel : panels)
            if (panel->GetSafeHwnd()) panel->DestroyWindow();
        if (sheet.GetSafeHwnd()) sheet.DestroyWindow();
        return kept;
    }
    const bool saved = Desktop::SaveWindowImage(sheet.m_hWnd, png.c_str()) != FALSE;
    for (auto& panel : panels) panel->DestroyWindow();
    sheet.DestroyWindow();
    return ReportSaved(saved, png);
}

}  // namespace host
