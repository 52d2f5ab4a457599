#include "platform/ui/display/XcbKeyboard.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>

#include "platform/ui/windowing/UiTypes.h"

namespace platform::ui::display {

namespace {

struct SymbolKey {
    xkb_keysym_t symbol;
    UINT vk;
};

// The keys that are named by their function rather than by what they type.
const SymbolKey kNamedKeys[] = {
    {XKB_KEY_BackSpace, VK_BACK},     {XKB_KEY_Tab, VK_TAB},           {XKB_KEY_ISO_Left_Tab, VK_TAB},
    {XKB_KEY_Return, VK_RETURN},      {XKB_KEY_KP_Enter, VK_RETURN},   {XKB_KEY_Escape, VK_ESCAPE},
    {XKB_KEY_space, VK_SPACE},        {XKB_KEY_Prior, VK_PRIOR},       {XKB_KEY_Next, VK_NEXT},
    {XKB_KEY_End, VK_END},            {XKB_KEY_Home, VK_HOME},         {XKB_KEY_Left, VK_LEFT},
    {XKB_KEY_Up, VK_UP},              {XKB_KEY_Right, VK_RIGHT},       {XKB_KEY_Down, VK_DOWN},
    {XKB_KEY_Insert, VK_INSERT},      {XKB_KEY_Delete, VK_DELETE},     {XKB_KEY_Pause, VK_PAUSE},
    {XKB_KEY_Caps_Lock, VK_CAPITAL},  {XKB_KEY_Num_Lock, VK_NUMLOCK},  {XKB_KEY_Scroll_Lock, VK_SCROLL},
    {XKB_KEY_Print, VK_SNAPSHOT},     {XKB_KEY_Shift_L, VK_SHIFT},     {XKB_KEY_Shift_R, VK_SHIFT},
    {XKB_KEY_Control_L, VK_CONTROL},  {XKB_KEY_Control_R, VK_CONTROL}, {XKB_KEY_Alt_L, VK_MENU},
    {XKB_KEY_Alt_R, VK_MENU},         {XKB_KEY_Meta_L, VK_MENU},       {XKB_KEY_Super_L, VK_LWIN},
    {XKB_KEY_Super_R, VK_RWIN},       {XKB_KEY_Menu, VK_APPS},         {XKB_KEY_KP_Multiply, VK_MULTIPLY},
    {XKB_KEY_KP_Add, VK_ADD},         {XKB_KEY_KP_Subtract, VK_SUBTRACT}, {XKB_KEY_KP_Decimal, VK_DECIMAL},
    {XKB_KEY_KP_Divide, VK_DIVIDE},   {XKB_KEY_KP_Home, VK_HOME},      {XKB_KEY_KP_End, VK_END},
    {XKB_KEY_KP_Left, VK_LEFT},       {XKB_KEY_KP_Right, VK_RIGHT},    {XKB_KEY_KP_Up, VK_UP},
    {XKB_KEY_KP_Down, VK_DOWN},       {XKB_KEY_KP_Prior, VK_PRIOR},    {XKB_KEY_KP_Next, VK_NEXT},
    {XKB_KEY_KP_Insert, VK_INSERT},   {XKB_KEY_KP_Delete, VK_DELETE},  {XKB_KEY_semicolon, VK_OEM_1},
    {XKB_KEY_equal, VK_OEM_PLUS},     {XKB_KEY_plus, VK_OEM_PLUS},     {XKB_KEY_comma, VK_OEM_COMMA},
    {XKB_KEY_minus, VK_OEM_MINUS},    {XKB_KEY_period, VK_OEM_PERIOD}, {XKB_KEY_slash, VK_OEM_2},
    {XKB_KEY_grave, VK_OEM_3},        {XKB_KEY_bracketleft, VK_OEM_4}, {XKB_KEY_backslash, VK_OEM_5},
    {XKB_KEY_bracketright, VK_OEM_6}, {XKB_KEY_apostrophe, VK_OEM_7},
};

}  // namespace

XcbKeyboard::~XcbKeyboard()
{
    if (m_state) xkb_state_unref(m_state);
    if (m_keymap) xkb_keymap_unref(m_keymap);
    if (m_context) xkb_context_unref(m_context);
}

bool XcbKeyboard::Open(xcb_connection_t* connection)
{
    m_connection = connection;
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &m_eventBase, nullptr))
        return false;
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    m_device = xkb_x11_get_core_keyboard_device_id(connection);
    if (!m_context || m_device < 0) return false;
    Reload();
    return m_keymap && m_state;
}

void XcbKeyboard::Reload()
{
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(m_context, m_connection, m_device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) return;
    xkb_state* state = xkb_x11_state_new_from_device(keymap, m_connection, m_device);
    if (!state) {
        xkb_keymap_unref(keymap);
        return;
    }
    if (m_state) xkb_state_unref(m_state);
    if (m_keymap) xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = state;
}

void XcbKeyboard::UpdateState(uint32_t depressed, uint32_t latched, uint32_t locked, int32_t baseGroup,
                              int32_t latchedGroup, int32_t lockedGroup)
{
    if (m_state)
        xkb_state_update_mask(m_state, depressed, latched, locked, static_cast<xkb_layout_index_t>(baseGroup),
                              static_cast<xkb_layout_index_t>(latchedGroup),
                              static_cast<xkb_layout_index_t>(lockedGroup));
}

UINT XcbKeyboard::VirtualKey(xcb_keycode_t code) const
{
    if (!m_keymap) return 0;
    const xkb_keysym_t* symbols = nullptr;
    const xkb_layout_index_t layout = m_state ? xkb_state_key_get_layout(m_state, code) : 0;
    if (xkb_keymap_key_get_syms_by_level(m_keymap, code, layout == XKB_LAYOUT_INVALID ? 0 : layout, 0, &symbols) < 1)
        return 0;
    const xkb_keysym_t symbol = symbols[0];
    if (symbol >= XKB_KEY_a && symbol <= XKB_KEY_z) return static_cast<UINT>('A' + (symbol - XKB_KEY_a));
    if (symbol >= XKB_KEY_A && symbol <= XKB_KEY_Z) return static_cast<UINT>(symbol);
    if (symbol >= XKB_KEY_0 && symbol <= XKB_KEY_9) return static_cast<UINT>(symbol);
    if (symbol >= XKB_KEY_KP_0 && symbol <= XKB_KEY_KP_9) return VK_NUMPAD0 + (symbol - XKB_KEY_KP_0);
    if (symbol >= XKB_KEY_F1 && symbol <= XKB_KEY_F12) return VK_F1 + (symbol - XKB_KEY_F1);
    for (const SymbolKey& key : kNamedKeys)
        if (key.symbol == symbol) return key.vk;
    return 0;
}

wchar_t XcbKeyboard::Character(xcb_keycode_t code) const
{
    if (!m_state) return 0;
    const uint32_t character = xkb_state_key_get_utf32(m_state, code);
    return static_cast<wchar_t>(character);
}

wchar_t XcbKeyboard::Character(xcb_keycode_t code, uint16_t state) const
{
    if (!m_state) return 0;
    xkb_state* then = xkb_state_new(m_keymap);
    if (!then) return Character(code);
    // The core modifiers are the keymap's first eight; the layout is the
    // one in use now.
    xkb_state_update_mask(then, state & 0xFF, 0, 0, 0, 0,
                          xkb_state_serialize_layout(m_state, XKB_STATE_LAYOUT_EFFECTIVE));
    const uint32_t character = xkb_state_key_get_utf32(then, code);
    xkb_state_unref(then);
    return static_cast<wchar_t>(character);
}

xcb_keycode_t XcbKeyboard::EnterKey() const
{
    if (!m_keymap) return 0;
    const xkb_keycode_t last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(m_keymap), 255);
    for (xkb_keycode_t code = xkb_keymap_min_keycode(m_keymap); code <= last; ++code) {
        const xkb_keysym_t* symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(m_keymap, code, 0, 0, &symbols) > 0 && symbols[0] == XKB_KEY_Return)
            return static_cast<xcb_keycode_t>(code);
    }
    return 0;
}

xcb_keycode_t XcbKeyboard::SilentKey() const
{
    if (!m_keymap) return 0;
    const xkb_keycode_t last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(m_keymap), 255);
    for (xkb_keycode_t code = std::max<xkb_keycode_t>(xkb_keymap_min_keycode(m_keymap), 8); code <= last; ++code) {
        bool silent = true;
        const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(m_keymap, code);
        for (xkb_layout_index_t layout = 0; layout < layouts && silent; ++layout)
            for (xkb_level_index_t level = 0; level < xkb_keymap_num_levels_for_key(m_keymap, code, layout); ++level) {
                const xkb_keysym_t* symbols = nullptr;
                if (xkb_keymap_key_get_syms_by_level(m_keymap, code, layout, level, &symbols) > 0) {
                    silent = false;
                    break;
                }
            }
        if (silent) return static_cast<xcb_keycode_t>(code);
    }
    return 0;
}

}  // namespace platform::ui::display
