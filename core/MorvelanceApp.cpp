#include "core/MorvelanceApp.h"

#include <cstring>

#include "core/Globals.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/Registry.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"

// The one application object of the library, created while it loads.
static CMorvelanceApp theApp;

namespace {

CFont* NewDialogFont(int height)
{
    CFont* font = new CFont;
    font->CreateFont(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     PROOF_QUALITY, 18, L"simsun");
    return font;
}

CPen* NewPen(int width, COLORREF color)
{
    CPen* pen = new CPen;
    pen->CreatePen(PS_SOLID, width, color);
    return pen;
}

CBrush* NewBrush(COLORREF color)
{
    CBrush* brush = new CBrush;
    brush->CreateSolidBrush(color);
    return brush;
}

template <class T> void DeleteAndClear(T*& object)
{
    delete object;
    object = nullptr;
}

}  // namespace

CMorvelanceApp::CMorvelanceApp() : CWinApp(nullptr) {}

BOOL CMorvelanceApp::InitInstance()
{
    CWinApp::InitInstance();

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    g_dXUnit = width * 0.0009765625;
    g_dYUnit = height * 0.0013020833333333333;

    CreateDialogFonts(height > width);
    LoadCursors();
    FindWorkDirectory();
    DetectOSVersion();
    CreatePensAndBrushes();
    return TRUE;
}

int CMorvelanceApp::ExitInstance()
{
    delete[] g_pWorkDir;
    g_pWorkDir = nullptr;
    DeleteAndClear(g_pDlgFontNormal);
    DeleteAndClear(g_pDlgFontMiddle1);
    DeleteAndClear(g_pDlgFontMiddle2);
    DeleteAndClear(g_pDlgFontBig);
    for (CPen** pen : {&g_pPenBlue, &g_pPenSlRed, &g_pPenGreen, &g_pPenSlGreen, &g_pPenDark, &g_pPenDkDot,
                       &g_pPenDKGray, &g_pPenSemiBold, &g_pPenBold})
        DeleteAndClear(*pen);
    DeleteAndClear(g_pBrushBlack);
    DeleteAndClear(g_pBrushDark);
    DeleteAndClear(g_pBrushWhite);
    // The cursors belong to the module's resources and are not destroyed.
    return CWinApp::ExitInstance();
}

void CMorvelanceApp::CreateDialogFonts(bool portrait)
{
    g_pDlgFontNormal = NewDialogFont(portrait ? 13 : 14);
    g_pDlgFontMiddle1 = NewDialogFont(portrait ? 14 : 16);
    g_pDlgFontMiddle2 = NewDialogFont(portrait ? 16 : 18);
    g_pDlgFontBig = NewDialogFont(portrait ? 18 : 20);
}

void CMorvelanceApp::CreatePensAndBrushes()
{
    g_pPenBlue = NewPen(1, 0xFF0000);
    g_pPenSlRed = NewPen(1, 0x0000FF);
    g_pPenGreen = NewPen(2, 0x00FF00);
    g_pPenSlGreen = NewPen(0, 0x00FF00);
    g_pPenDark = NewPen(1, 0x000000);
    g_pPenDkDot = NewPen(1, 0xD2D2D2);
    g_pPenDKGray = NewPen(1, 0x7F7F7F);
    g_pPenSemiBold = NewPen(4, 0x000000);
    g_pPenBold = NewPen(8, 0x000000);
    g_pBrushBlack = NewBrush(0x000000);
    g_pBrushDark = NewBrush(0x000000);
    g_pBrushWhite = NewBrush(0xFFFFFF);
}

void CMorvelanceApp::LoadCursors()
{
    HINSTANCE module = GetMorvelanceModule();
    g_hCursorHand = LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_HAND));
    g_hCursorMag = LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_MAG));
    g_hCursorDraw = LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_DRAW));
}

void CMorvelanceApp::FindWorkDirectory()
{
    // The work directory is the folder of the installation's in-process
    // server; without the key it stays empty and lookups in it fail later.
    CString folder;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\" MORVELANCE_SERVER_CLSID L"\\InprocServer32", 0, KEY_READ,
                      &key) == ERROR_SUCCESS) {
        wchar_t value[1024] = {};
        DWORD type = 0;
        DWORD bytes = sizeof(value) - sizeof(wchar_t);
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) ==
                ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            CString path(value);
            const int separator = PathLastSeparator(path);
            if (separator >= 0) folder = path.Left(separator);
        }
        RegCloseKey(key);
    }
    delete[] g_pWorkDir;
    g_pWorkDir = new wchar_t[folder.GetLength() + 1];
    std::wmemcpy(g_pWorkDir, folder.GetString(), static_cast<size_t>(folder.GetLength()) + 1);
}

void CMorvelanceApp::DetectOSVersion()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExW(&info);
    g_OSVersion = (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 4) ? 1 : 2;
}

HINSTANCE GetMorvelanceModule()
{
    return platform::ui::ModuleFromAddress(reinterpret_cast<const void*>(&GetMorvelanceModule));
}
