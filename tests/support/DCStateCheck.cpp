#include "tests/support/DCStateCheck.h"

#include <sstream>

namespace testsupport {

DCState ReadDCState(HDC hDC)
{
    DCState state;
    state.hPen = ::GetCurrentObject(hDC, OBJ_PEN);
    state.hBrush = ::GetCurrentObject(hDC, OBJ_BRUSH);
    state.hFont = ::GetCurrentObject(hDC, OBJ_FONT);
    state.nROP2 = ::GetROP2(hDC);
    state.nBkMode = ::GetBkMode(hDC);
    state.crText = ::GetTextColor(hDC);
    return state;
}

namespace {

// The state the check gives the context, and takes away again.
class CUnusualState {
public:
    explicit CUnusualState(HDC hDC) : m_hDC(hDC)
    {
        m_hPen = ::CreatePen(PS_DASH, 1, RGB(1, 2, 3));
        m_hBrush = ::CreateSolidBrush(RGB(4, 5, 6));
        m_hFont = ::CreateFontW(-23, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                L"Sans");
        m_saved = ReadDCState(hDC);
        ::SelectObject(hDC, m_hPen);
        ::SelectObject(hDC, m_hBrush);
        ::SelectObject(hDC, m_hFont);
        ::SetROP2(hDC, R2_MERGEPEN);
        ::SetBkMode(hDC, m_saved.nBkMode == TRANSPARENT ? OPAQUE : TRANSPARENT);
        ::SetTextColor(hDC, RGB(7, 8, 9));
    }
    ~CUnusualState()
    {
        ::SelectObject(m_hDC, m_saved.hPen);
        ::SelectObject(m_hDC, m_saved.hBrush);
        ::SelectObject(m_hDC, m_saved.hFont);
        ::SetROP2(m_hDC, m_saved.nROP2);
        ::SetBkMode(m_hDC, m_saved.nBkMode);
        ::SetTextColor(m_hDC, m_saved.crText);
        ::DeleteObject(m_hPen);
        ::DeleteObject(m_hBrush);
        ::DeleteObject(m_hFont);
    }
    CUnusualState(const CUnusualState&) = delete;
    CUnusualState& operator=(const CUnusualState&) = delete;

private:
    HDC m_hDC;
    HPEN m_hPen;
    HBRUSH m_hBrush;
    HFONT m_hFont;
    DCState m_saved;
};

}  // namespace

::testing::AssertionResult LeavesDCAsFound(HDC hDC, const std::function<void()>& draw)
{
    if (!hDC) return ::testing::AssertionFailure() << "no device context to check";
    CUnusualState given(hDC);
    const DCState before = ReadDCState(hDC);
    draw();
    const DCState after = ReadDCState(hDC);
    std::ostringstream changed;
    if (after.hPen != before.hPen) changed << " pen";
    if (after.hBrush != before.hBrush) changed << " brush";
    if (after.hFont != before.hFont) changed << " font";
    if (after.nROP2 != before.nROP2) changed << " ROP2 (" << before.nROP2 << " -> " << after.nROP2 << ")";
    if (after.nBkMode != before.nBkMode)
        changed << " background mode (" << before.nBkMode << " -> " << after.nBkMode << ")";
    if (after.crText != before.crText) changed << " text colour";
    if (changed.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the drawing changed the context's" << changed.str();
}

}  // namespace testsupport
