// CObject and run-time class information: IsKindOf, dynamic creation by
// class name (the host creates documents, views and frames this way), and the
// DECLARE_/IMPLEMENT_ macros with the framework's spelling.
#pragma once

#include "platform/base/WinTypes.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();     // null for classes that are not dynamically creatable
    CRuntimeClass* (*m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;         // the chain of every registered class

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }

    // Finds a registered class by name (case-sensitive), null when unknown.
    static CRuntimeClass* FromName(LPCSTR className);
    static CRuntimeClass* FromName(LPCWSTR className);
    static CObject* CreateObject(LPCSTR className);
};

// Links a class into the registry when its static information is built.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static CRuntimeClass classCObject;
    static CRuntimeClass* _GetBaseClass() { return nullptr; }
    static CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                   \
public:                                                                \
    static CRuntimeClass class##class_name;                            \
    static CRuntimeClass* _GetBaseClass();                             \
    static CRuntimeClass* GetThisClass() { return &class##class_name; } \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define MORVELANCE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew)                      \
    CRuntimeClass* class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); }                   \
    CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name), schema,      \
                                                   pfnNew, &class_name::_GetBaseClass, nullptr};            \
    static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);                                \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    MORVELANCE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                     \
    CObject* class_name::CreateObject() { return new class_name; }          \
    MORVELANCE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)             \
    CObject* class_name::CreateObject() { return new class_name; }          \
    MORVELANCE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

// Checked downcast: null when the object is not of that class.
template <class T> T* DynamicDowncast(CObject* obj)
{
    return (obj && obj->IsKindOf(RUNTIME_CLASS(T))) ? static_cast<T*>(obj) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) DynamicDowncast<class_name>(object)
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
