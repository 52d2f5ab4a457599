#include "platform/ui/windowing/DialogTemplate.h"

#include "platform/ui/windowing/UiTypes.h"

namespace platform::ui {

namespace {

// The predefined control classes of a template, by their atoms.
LPCWSTR PredefinedClass(WORD atom)
{
    switch (atom) {
    case 0x0080: return L"Button";
    case 0x0081: return L"Edit";
    case 0x0082: return L"Static";
    case 0x0083: return L"ListBox";
    case 0x0084: return L"ScrollBar";
    case 0x0085: return L"ComboBox";
    default: return nullptr;
    }
}

WORD PredefinedAtom(const CString& name)
{
    for (WORD atom = 0x0080; atom <= 0x0085; ++atom)
        if (name.CompareNoCase(PredefinedClass(atom)) == 0) return atom;
    return 0;
}

class Reader {
public:
    Reader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    bool Fail(const char* problem)
    {
        if (!m_problem) m_problem = problem;
        return false;
    }
    bool Word(WORD& value)
    {
        if (m_pos > m_size || m_size - m_pos < 2) return Fail("the template ends inside a number");
        value = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool Dword(DWORD& value)
    {
        WORD low = 0;
        WORD high = 0;
        if (!Word(low) || !Word(high)) return false;
        value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool Short(short& value)
    {
        WORD raw = 0;
        if (!Word(raw)) return false;
        value = static_cast<short>(raw);
        return true;
    }
    bool Byte(BYTE& value)
    {
        if (m_pos >= m_size) return Fail("the template ends inside a number");
        value = m_data[m_pos++];
        return true;
    }
    // A zero-terminated UTF-16 string.
    bool String(CString& out)
    {
        std::wstring text;
        for (;;) {
            WORD unit = 0;
            if (!Word(unit)) return Fail("a string runs past the end of the template");
            if (unit == 0) break;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                WORD low = 0;
                if (!Word(low)) return Fail("a string runs past the end of the template");
                if (low < 0xDC00 || low > 0xDFFF) return Fail("a string holds a broken surrogate pair");
                text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                continue;
            }
            if (unit >= 0xDC00 && unit <= 0xDFFF) return Fail("a string holds a broken surrogate pair");
            text.push_back(static_cast<wchar_t>(unit));
        }
        out = CString(text.c_str());
        return true;
    }
    // A name or an ordinal (0xFFFF followed by the number); none is 0x0000.
    bool NameOrOrdinal(CString& name, WORD& ordinal)
    {
        WORD first = 0;
        if (m_pos + 2 > m_size) return Fail("the template ends before a name");
        first = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        if (first == 0) {
            m_pos += 2;
            return true;
        }
        if (first == 0xFFFF) {
            m_pos += 2;
            return Word(ordinal);
        }
        return String(name);
    }
    bool AlignDword()
    {
        const size_t aligned = (m_pos + 3) & ~static_cast<size_t>(3);
        if (aligned > m_size) return Fail("the template ends before an item");
        m_pos = aligned;
        return true;
    }
    bool Bytes(size_t count, std::vector<BYTE>& out)
    {
        if (m_pos > m_size || count > m_size - m_pos) return Fail("creation data runs past the end of the template");
        out.assign(m_data + m_pos, m_data + m_pos + count);
        m_pos += count;
        return true;
    }
    bool AtEnd() const { return m_pos >= m_size; }
    size_t Position() const { return m_pos; }
    const char* Problem() const { return m_problem ? m_problem : ""; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    const char* m_problem = nullptr;
};

class Writer {
public:
    void Word(WORD value)
    {
        m_bytes.push_back(static_cast<BYTE>(value & 0xFF));
        m_bytes.push_back(static_cast<BYTE>(value >> 8));
    }
    void Dword(DWORD value)
    {
        Word(static_cast<WORD>(value & 0xFFFF));
        Word(static_cast<WORD>(value >> 16));
    }
    void Byte(BYTE value) { m_bytes.push_back(value); }
    void String(const CString& text)
    {
        for (int i = 0; i < text.GetLength(); ++i) {
            const unsigned long ch = static_cast<unsigned long>(text[i]);
            if (ch >= 0x10000 && ch <= 0x10FFFF) {
                const unsigned long value = ch - 0x10000;
                Word(static_cast<WORD>(0xD800 + (value >> 10)));
                Word(static_cast<WORD>(0xDC00 + (value & 0x3FF)));
            } else {
                Word(static_cast<WORD>(ch > 0xFFFF ? 0xFFFD : ch));
            }
        }
        Word(0);
    }
    void NameOrOrdinal(const CString& name, WORD ordinal)
    {
        if (ordinal) {
            Word(0xFFFF);
            Word(ordinal);
        } else if (name.IsEmpty()) {
            Word(0);
        } else {
            String(name);
        }
    }
    void AlignDword()
    {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
    }
    void Bytes(const std::vector<BYTE>& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    std::vector<BYTE>& Result() { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

bool ReadItem(Reader& in, bool extended, DialogItemTemplate& item)
{
    if (!in.AlignDword()) return false;
    if (extended) {
        if (!in.Dword(item.helpId) || !in.Dword(item.exStyle) || !in.Dword(item.style)) return false;
    } else {
        if (!in.Dword(item.style) || !in.Dword(item.exStyle)) return false;
    }
    if (!in.Short(item.x) || !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy)) return false;
    if (extended) {
        if (!in.Dword(item.id)) return false;
    } else {
        WORD id = 0;
        if (!in.Word(id)) return false;
        item.id = id;
    }
    WORD classAtom = 0;
    if (!in.NameOrOrdinal(item.className, classAtom)) return false;
    if (classAtom) {
        LPCWSTR name = PredefinedClass(classAtom);
        if (!name) return in.Fail("an item names an unknown predefined class");
        item.className = name;
    }
    if (item.className.IsEmpty()) return in.Fail("an item has no class");
    if (!in.NameOrOrdinal(item.text, item.textOrdinal)) return false;
    WORD extra = 0;
    if (!in.Word(extra)) return false;
    // In the old layout the count includes its own two bytes.
    size_t count = extra;
    if (!extended && count >= 2) count -= 2;
    return in.Bytes(count, item.creationData);
}

TemplateReadResult Result(const Reader& in, bool ok)
{
    TemplateReadResult result;
    result.ok = ok;
    result.offset = in.Position();
    result.problem = ok ? "" : in.Problem();
    return result;
}

void WriteMenuItems(Writer& out, const std::vector<MenuTemplateItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuTemplateItem& item = items[i];
        WORD flags = static_cast<WORD>(item.flags & ~MF_END);
        if (!item.items.empty()) flags |= MF_POPUP;
        if (i + 1 == items.size()) flags |= MF_END;
        out.Word(flags);
        if (!(flags & MF_POPUP)) out.Word(static_cast<WORD>(item.id));
        out.String(item.text);
        if (flags & MF_POPUP) WriteMenuItems(out, item.items);
    }
}

const int kMaxMenuDepth = 16;   // nesting deeper than any menu, and a guard against hostile bytes

bool ReadMenuItems(Reader& in, std::vector<MenuTemplateItem>& items, int depth)
{
    if (depth > kMaxMenuDepth) return in.Fail("menus are nested too deeply");
    for (;;) {
        MenuTemplateItem item;
        WORD flags = 0;
        if (!in.Word(flags)) return false;
        if (!(flags & MF_POPUP)) {
            WORD id = 0;
            if (!in.Word(id)) return false;
            item.id = id;
        }
        if (!in.String(item.text)) return false;
        item.flags = flags & ~MF_END;
        if ((flags & MF_POPUP) && !ReadMenuItems(in, item.items, depth + 1)) return false;
        items.push_back(item);
        if (flags & MF_END) return true;
        if (in.AtEnd()) return in.Fail("a menu has no last item");
    }
}

}  // namespace

TemplateReadResult ReadDialogTemplate(const BYTE* data, size_t size, DialogTemplate& out)
{
    out = DialogTemplate();
    Reader in(data, data ? size : 0);
    if (!data) {
        in.Fail("no template");
        return Result(in, false);
    }
    WORD first = 0;
    WORD second = 0;
    if (!in.Word(first) || !in.Word(second)) return Result(in, false);
    const bool extended = first == 1 && second == 0xFFFF;
    WORD count = 0;
    bool ok = true;
    if (extended) {
        ok = in.Dword(out.helpId) && in.Dword(out.exStyle) && in.Dword(out.style);
    } else {
        out.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
        ok = in.Dword(out.exStyle);
    }
    ok = ok && in.Word(count) && in.Short(out.x) && in.Short(out.y) && in.Short(out.cx) && in.Short(out.cy);
    WORD classOrdinal = 0;
    ok = ok && in.NameOrOrdinal(out.menu, out.menuOrdinal) && in.NameOrOrdinal(out.className, classOrdinal) &&
         in.String(out.caption);
    if (ok && classOrdinal) out.className.Format(L"#%u", classOrdinal);
    if (ok && (out.style & DS_SETFONT)) {
        ok = in.Word(out.pointSize);
        if (ok && extended) ok = in.Word(out.weight) && in.Byte(out.italic) && in.Byte(out.charset);
        ok = ok && in.String(out.faceName);
    }
    for (WORD i = 0; ok && i < count; ++i) {
        DialogItemTemplate item;
        ok = ReadItem(in, extended, item);
        if (ok) out.items.push_back(item);
    }
    return Result(in, ok);
}

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& dialog)
{
    Writer out;
    out.Word(1);
    out.Word(0xFFFF);
    out.Dword(dialog.helpId);
    out.Dword(dialog.exStyle);
    out.Dword(dialog.style);
    out.Word(static_cast<WORD>(dialog.items.size()));
    out.Word(static_cast<WORD>(dialog.x));
    out.Word(static_cast<WORD>(dialog.y));
    out.Word(static_cast<WORD>(dialog.cx));
    out.Word(static_cast<WORD>(dialog.cy));
    out.NameOrOrdinal(dialog.menu, dialog.menuOrdinal);
    out.NameOrOrdinal(dialog.className, 0);
    out.String(dialog.caption);
    if (dialog.style & DS_SETFONT) {
        out.Word(dialog.pointSize);
        out.Word(dialog.weight);
        out.Byte(dialog.italic);
        out.Byte(dialog.charset);
        out.String(dialog.faceName);
    }
    for (const DialogItemTemplate& item : dialog.items) {
        out.AlignDword();
        out.Dword(item.helpId);
        out.Dword(item.exStyle);
        out.Dword(item.style);
        out.Word(static_cast<WORD>(item.x));
        out.Word(static_cast<WORD>(item.y));
        out.Word(static_cast<WORD>(item.cx));
        out.Word(static_cast<WORD>(item.cy));
        out.Dword(item.id);
        out.NameOrOrdinal(item.className, PredefinedAtom(item.className));
        out.NameOrOrdinal(item.text, item.textOrdinal);
        out.Word(static_cast<WORD>(item.creationData.size()));
        out.Bytes(item.creationData);
    }
    return std::move(out.Result());
}

TemplateReadResult ReadMenuTemplate(const BYTE* data, size_t size, std::vector<MenuTemplateItem>& out)
{
    out.clear();
    Reader in(data, data ? size : 0);
    WORD version = 0;
    WORD headerSize = 0;
    if (!data || !in.Word(version) || !in.Word(headerSize)) {
        in.Fail("no menu header");
        return Result(in, false);
    }
    if (version != 0 || headerSize != 0) {
        in.Fail("not a standard menu template");
        return Result(in, false);
    }
    if (in.AtEnd()) return Result(in, true);   // a menu without items
    return Result(in, ReadMenuItems(in, out, 0));
}

std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuTemplateItem>& items)
{
    Writer out;
    out.Word(0);
    out.Word(0);
    WriteMenuItems(out, items);
    return std::move(out.Result());
}

}  // namespace platform::ui
