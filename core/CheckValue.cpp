#include "core/CheckValue.h"

CCheckValue::CCheckValue() = default;

CCheckValue::CCheckValue(UINT uID, const CString& strKey)
    : m_uID(uID), m_strKey(strKey)
{
}

CCheckValue::~CCheckValue() = default;

void CCheckValue::InitValue(const CString& strValue)
{
    m_strSavedValue = strValue;
    m_strValue = strValue;
    m_bModify = 0;
}

void CCheckValue::ModifyValue(const CString& strValue)
{
    m_strValue = strValue;
    if (m_strValue.Compare(m_strSavedValue) != 0)
        m_bModify = 1;
}

void CCheckValue::UpdateValue()
{
    m_strSavedValue = m_strValue;
    m_bModify = 0;
}

void CCheckValue::Reset()
{
    m_bModify = 0;
    m_lStatus = 1;
    m_nState = 1;
    m_nCurSel = -1;
    m_bNeedOutput = 0;
}

int CCheckValue::IsShow() const
{
    if (!(m_lStatus & 1))
        return 0;
    return (m_bNeedOutput || (m_nState & 1)) ? 1 : 0;
}

int CCheckValue::IsEnable() const
{
    return static_cast<int>(m_lStatus & 2);
}

int CCheckValue::IsPrint() const
{
    return (m_bNeedOutput || (m_nState & 2)) ? 1 : 0;
}

void CCheckValue::UpdateIniState(const CString& /*strName*/, int nBit)
{
    if (nBit < 0 || nBit > 30)
        return;
    m_nState |= (1 << nBit);
}

int CCheckValue::GetState(int nBit) const
{
    if (nBit < 0 || nBit > 31)
        return 0;
    return m_nState >> nBit;
}
