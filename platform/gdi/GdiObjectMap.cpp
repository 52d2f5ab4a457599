#include "platform/gdi/GdiObjectMap.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Rgn.h"

namespace {

// Past this many wrappers, ones whose handles have died are dropped when a
// new one is made, so a long-lived DC does not collect them without bound.
const size_t kPruneThreshold = 64;

std::unique_ptr<CGdiObject> MakeWrapper(HGDIOBJ handle)
{
    std::unique_ptr<CGdiObject> wrapper;
    switch (::GetObjectType(handle)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: wrapper = std::make_unique<CPen>(); break;
    case OBJ_BRUSH: wrapper = std::make_unique<CBrush>(); break;
    case OBJ_FONT: wrapper = std::make_unique<CFont>(); break;
    case OBJ_BITMAP: wrapper = std::make_unique<CBitmap>(); break;
    case OBJ_REGION: wrapper = std::make_unique<CRgn>(); break;
    default: return nullptr;
    }
    // Set directly, not attached: the wrapper neither owns nor registers the handle.
    wrapper->m_hObject = handle;
    return wrapper;
}

}  // namespace

CGdiObjectMap::~CGdiObjectMap()
{
    RemoveAll();
}

CGdiObject* CGdiObjectMap::Lookup(HGDIOBJ handle)
{
    if (!handle) return nullptr;
    if (CGdiObject* permanent = CGdiObject::LookupPermanent(handle)) return permanent;
    auto found = m_objects.find(handle);
    if (found != m_objects.end()) return found->second.get();
    if (m_objects.size() >= kPruneThreshold) PruneStale();
    std::unique_ptr<CGdiObject> wrapper = MakeWrapper(handle);
    if (!wrapper) return nullptr;
    CGdiObject* result = wrapper.get();
    m_objects.emplace(handle, std::move(wrapper));
    return result;
}

void CGdiObjectMap::RemoveAll()
{
    for (auto& entry : m_objects) entry.second->m_hObject = nullptr;   // never delete a borrowed handle
    m_objects.clear();
}

void CGdiObjectMap::PruneStale()
{
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        if (::GetObjectType(it->first) != 0) {
            ++it;
            continue;
        }
        it->second->m_hObject = nullptr;
        it = m_objects.erase(it);
    }
}
