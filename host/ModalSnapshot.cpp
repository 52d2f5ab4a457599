#include "host/ModalSnapshot.h"

#include <cstdio>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Desktop.h"

namespace host {

using platform::ui::Desktop;

ModalSnapshot::ModalSnapshot(const std::string& png, const CDialog* dialog)
    : m_scope([this, png, dialog](CWnd& running) {
          auto* shown = dynamic_cast<CDialog*>(&running);
          if (!shown || (dialog && shown != dialog)) return;
          Desktop::PumpMessages();
          m_bSaved = !png.empty() && Desktop::SaveWindowImage(shown->m_hWnd, png.c_str()) != FALSE;
          m_bRan = true;
          shown->EndDialog(IDCANCEL);
      })
{
}

bool ReportSaved(bool saved, const std::string& png)
{
    if (saved)
        std::printf("%s\n", png.c_str());
    else
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", png.c_str());
    return saved;
}

bool RunModalAndSave(CDialog& dialog, const std::string& png)
{
    ModalSnapshot snapshot(png, &dialog);
    dialog.DoModal();
    return ReportSaved(snapshot.Saved(), png);
}

bool DialogsShownToPerson()
{
    return Desktop::DisplayConnected();
}

bool RunForPerson(CDialog& dialog)
{
    dialog.DoModal();
    return Desktop::DisplayConnected();
}

bool RunForPerson(HWND window)
{
    return Desktop::RunDisplay([window] { return !::IsWindow(window) || !::IsWindowVisible(window); }) != FALSE;
}

}  // namespace host
