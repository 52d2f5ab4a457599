#include "platform/ui/display/XimInput.h"

#include <xcb-imdkit/encoding.h>
#include <xcb-imdkit/imclient.h>

#include <cstdlib>
#include <cstring>

#include "platform/base/CodePage.h"

namespace platform::ui::display {

namespace {

// Until the method says otherwise, it hears presses.
const uint32_t kDefaultForwardMask = XCB_EVENT_MASK_KEY_PRESS;

XimInput* Self(void* self)
{
    return static_cast<XimInput*>(self);
}

}  // namespace

XimInput::XimInput(xcb_connection_t* connection, int screen, KeyHandler keys, TextHandler text)
    : m_connection(connection), m_screen(screen), m_keys(std::move(keys)), m_text(std::move(text))
{
}

XimInput::~XimInput()
{
    if (!m_im) return;
    if (m_open && !xcb_connection_has_error(m_connection)) {
        for (const auto& entry : m_contexts) xcb_xim_destroy_ic(m_im, entry.second, nullptr, nullptr);
        xcb_xim_close(m_im);
    }
    xcb_xim_destroy(m_im);
}

std::string XimInput::MethodName(const char* modifiers)
{
    if (!modifiers) return {};
    const char* at = std::strstr(modifiers, "@im=");
    if (!at) return {};
    at += 4;
    const char* end = std::strchr(at, '@');
    std::string name = end ? std::string(at, end) : std::string(at);
    // "none" is how a person says no method at all.
    if (name == "none") name.clear();
    return name;
}

bool XimInput::Open(const std::string& name)
{
    if (name.empty()) return false;
    xcb_compound_text_init();
    m_im = xcb_xim_create(m_connection, m_screen, name.c_str());
    if (!m_im) return false;
    xcb_xim_im_callback callbacks = {};
    callbacks.set_event_mask = &XimInput::EventMask;
    callbacks.forward_event = &XimInput::Returned;
    callbacks.commit_string = &XimInput::Committed;
    callbacks.disconnected = &XimInput::Disconnected;
    xcb_xim_set_im_callback(m_im, &callbacks, this);
    xcb_xim_set_use_utf8_string(m_im, true);
    // Auto-connect: a method that is not running yet is talked to once it starts.
    return xcb_xim_open(m_im, &XimInput::Opened, true, this);
}

bool XimInput::Filter(xcb_generic_event_t* event)
{
    return m_im && xcb_xim_filter_event(m_im, event);
}

void XimInput::Opened(xcb_xim_t* /*im*/, void* self)
{
    XimInput* input = Self(self);
    input->m_open = true;
    if (input->m_focus) input->CreateContext(input->m_focus);
}

void XimInput::Disconnected(xcb_xim_t* /*im*/, void* self)
{
    // The method went away: keys are read by the layout until it is back.
    XimInput* input = Self(self);
    input->m_open = false;
    input->m_contexts.clear();
    input->m_creating.clear();
    input->m_forwardMasks.clear();
}

void XimInput::CreateContext(xcb_window_t window)
{
    if (!m_open || !window || m_contexts.count(window)) return;
    for (xcb_window_t asked : m_creating)
        if (asked == window) return;
    // The method shows what is being composed in a window of its own.
    uint32_t style = XCB_IM_PreeditNothing | XCB_IM_StatusNothing;
    if (xcb_xim_create_ic(m_im, &XimInput::Created, this, XCB_XIM_XNInputStyle, &style, XCB_XIM_XNClientWindow,
                          &window, XCB_XIM_XNFocusWindow, &window, nullptr))
        m_creating.push_back(window);
}

void XimInput::Created(xcb_xim_t* im, xcb_xic_t ic, void* self)
{
    XimInput* input = Self(self);
    if (input->m_creating.empty()) return;
    const xcb_window_t window = input->m_creating.front();
    input->m_creating.pop_front();
    input->m_contexts[window] = ic;
    if (!input->m_forwardMasks.count(ic)) input->m_forwardMasks[ic] = kDefaultForwardMask;
    if (window == input->m_focus) xcb_xim_set_ic_focus(im, ic);
}

void XimInput::EventMask(xcb_xim_t* /*im*/, xcb_xic_t ic, uint32_t forward, uint32_t /*synchronous*/, void* self)
{
    Self(self)->m_forwardMasks[ic] = forward;
}

void XimInput::Focus(xcb_window_t window)
{
    if (window == m_focus) return;
    if (m_open) {
        auto old = m_contexts.find(m_focus);
        if (old != m_contexts.end()) xcb_xim_unset_ic_focus(m_im, old->second);
    }
    m_focus = window;
    if (!m_open || !window) return;
    auto found = m_contexts.find(window);
    if (found != m_contexts.end())
        xcb_xim_set_ic_focus(m_im, found->second);
    else
        CreateContext(window);
}

void XimInput::Forget(xcb_window_t window)
{
    if (window == m_focus) m_focus = 0;
    auto found = m_contexts.find(window);
    if (found == m_contexts.end()) return;
    if (m_open && !xcb_connection_has_error(m_connection)) xcb_xim_destroy_ic(m_im, found->second, nullptr, nullptr);
    m_forwardMasks.erase(found->second);
    m_contexts.erase(found);
}

bool XimInput::Forward(const xcb_key_press_event_t& key)
{
    // A key the server sent to a window the keyboard has just left (a
    // pop-up came up, and the server's focus follows a moment later) is
    // read where the keyboard is now: the method does not answer for a
    // context it was told has lost the focus, and the key would be lost.
    if (!m_open || key.event != m_focus) return false;
    auto found = m_contexts.find(key.event);
    if (found == m_contexts.end()) return false;
    // Only presses go: a release the method keeps is never answered, and
    // the method would hold back every key after it.
    if ((key.response_type & 0x7F) != XCB_KEY_PRESS) return false;
    auto mask = m_forwardMasks.find(found->second);
    if (mask != m_forwardMasks.end() && !(mask->second & XCB_EVENT_MASK_KEY_PRESS)) return false;
    xcb_key_press_event_t copy = key;
    return xcb_xim_forward_event(m_im, found->second, &copy);
}

void XimInput::Returned(xcb_xim_t* /*im*/, xcb_xic_t /*ic*/, xcb_key_press_event_t* event, void* self)
{
    if (event) Self(self)->m_keys(*event);
}

void XimInput::Committed(xcb_xim_t* im, xcb_xic_t /*ic*/, uint32_t flag, char* text, uint32_t length,
                         uint32_t* /*keysyms*/, size_t /*keysymCount*/, void* self)
{
    if (!(flag & XCB_XIM_LOOKUP_CHARS) || !text || !length) return;
    std::string utf8;
    if (xcb_xim_get_encoding(im) == XCB_XIM_UTF8_STRING) {
        utf8.assign(text, length);
    } else {
        size_t converted = 0;
        char* decoded = xcb_compound_text_to_utf8(text, length, &converted);
        if (!decoded) return;
        utf8.assign(decoded, converted);
        std::free(decoded);
    }
    const std::wstring wide = FromUtf8(utf8);
    if (!wide.empty()) Self(self)->m_text(wide);
}

}  // namespace platform::ui::display
