#include "platform/base/Object.h"

#include <cstring>

#include "platform/base/CodePage.h"

namespace {

// Head of the chain of every class whose static information has been built.
// A function-local static, so that classes registering from static
// initialisers of other libraries never see it uninitialised.
CRuntimeClass*& ClassChain()
{
    static CRuntimeClass* head = nullptr;
    return head;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, &CObject::_GetBaseClass,
                                       nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* cls)
{
    for (CRuntimeClass* c = ClassChain(); c; c = c->m_pNextClass) {
        if (c == cls) return;
    }
    cls->m_pNextClass = ClassChain();
    ClassChain() = cls;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const
{
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    if (!base) return FALSE;
    for (const CRuntimeClass* c = this; c; c = c->GetBaseClass()) {
        if (c == base) return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className)
{
    if (!className) return nullptr;
    for (CRuntimeClass* c = ClassChain(); c; c = c->m_pNextClass) {
        if (std::strcmp(c->m_lpszClassName, className) == 0) return c;
    }
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className)
{
    if (!className) return nullptr;
    return FromName(platform::ToUtf8(className).c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR className)
{
    CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : nullptr;
}
