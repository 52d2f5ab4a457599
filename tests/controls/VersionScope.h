// CVersionScope: sets the button menu's version class for one test and
// brings the previous class back however the test ends.
#pragma once

#include "controls/ButtonMenu.h"

class CVersionScope {
public:
    explicit CVersionScope(int nClass) : m_nPrevious(CButtonMenu::OverrideWinVersion(nClass)) {}
    ~CVersionScope() { CButtonMenu::OverrideWinVersion(m_nPrevious); }
    CVersionScope(const CVersionScope&) = delete;
    CVersionScope& operator=(const CVersionScope&) = delete;

private:
    int m_nPrevious;
};
