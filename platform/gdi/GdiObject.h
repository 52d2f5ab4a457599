// CGdiObject: the framework's owner of one GDI handle. An object that owns
// a handle (Attach, or one of the Create calls of the derived classes) is
// registered as that handle's permanent object, so FromHandle and
// CDC::SelectObject give back the very object that was selected. Handles
// no object owns get temporary wrappers (see GdiObjectMap.h).
#pragma once

#include "platform/base/Object.h"
#include "platform/gdi/Gdi.h"

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    // Deletes the handle it owns, as the framework does.
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // The owning object of `handle`, or a temporary wrapper of the right
    // class (CPen, CBrush, ...) kept until DeleteTempMap; null for a null or
    // stale handle.
    static CGdiObject* FromHandle(HGDIOBJ handle);
    template <class H, platform::gdi::EnableForGdiHandle<H> = 0> static CGdiObject* FromHandle(H handle)
    {
        return FromHandle(reinterpret_cast<HGDIOBJ>(handle));
    }
    // Frees the temporary wrappers FromHandle made (the host calls it when
    // idle, as the framework's idle processing does).
    static void DeleteTempMap();
    // The object that owns `handle` through Attach; null when none does.
    static CGdiObject* LookupPermanent(HGDIOBJ handle);

    // FALSE for a null handle or when an object is already attached.
    BOOL Attach(HGDIOBJ handle);
    template <class H, platform::gdi::EnableForGdiHandle<H> = 0> BOOL Attach(H handle)
    {
        return Attach(reinterpret_cast<HGDIOBJ>(handle));
    }
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    int GetObject(int count, LPVOID buffer) const;
    UINT GetObjectType() const;
    BOOL operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
    BOOL operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

    HGDIOBJ m_hObject = nullptr;
};
