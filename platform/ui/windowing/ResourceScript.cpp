#include "platform/ui/windowing/ResourceScript.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/ui/windowing/CommCtrl.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/UiTypes.h"

namespace platform::ui {

namespace {

enum class TokenKind { Name, Number, String, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;        // a name, a symbol, or a string's UTF-8 contents
    long long number = 0;
    int line = 1;
    int column = 1;
};

struct ScriptError : std::runtime_error {
    ScriptError(const Token& at, const std::string& what) : std::runtime_error(what), line(at.line), column(at.column) {}
    int line;
    int column;
};

class Lexer {
public:
    explicit Lexer(const std::string& text) : m_text(text) {}

    std::vector<Token> Tokens()
    {
        std::vector<Token> tokens;
        for (;;) {
            SkipBlanks();
            Token token;
            token.line = m_line;
            token.column = m_column;
            if (m_pos >= m_text.size()) {
                tokens.push_back(token);
                return tokens;
            }
            const char c = m_text[m_pos];
            if (c == '"' || ((c == 'L' || c == 'l') && Peek(1) == '"')) {
                if (c != '"') Advance();
                token.kind = TokenKind::String;
                token.text = ReadString(token);
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                token.kind = TokenKind::Number;
                token.number = ReadNumber(token);
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                token.kind = TokenKind::Name;
                while (m_pos < m_text.size() &&
                       (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
                    token.text += Advance();
            } else if (c == ',' || c == '|' || c == '(' || c == ')' || c == '-' || c == '+' || c == '~' || c == '#' ||
                       c == '{' || c == '}') {
                token.kind = TokenKind::Symbol;
                token.text = std::string(1, Advance());
            } else {
                throw ScriptError(token, std::string("unexpected character '") + c + "'");
            }
            tokens.push_back(token);
        }
    }

private:
    char Peek(size_t ahead) const { return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0'; }

    char Advance()
    {
        const char c = m_text[m_pos++];
        if (c == '\n') {
            ++m_line;
            m_column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++m_column;   // columns count characters, not UTF-8 bytes
        }
        return c;
    }

    void SkipBlanks()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (std::isspace(static_cast<unsigned char>(c))) {
                Advance();
            } else if (c == '/' && Peek(1) == '/') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n') Advance();
            } else if (c == '/' && Peek(1) == '*') {
                Token start;
                start.line = m_line;
                start.column = m_column;
                Advance();
                Advance();
                while (m_pos < m_text.size() && !(m_text[m_pos] == '*' && Peek(1) == '/')) Advance();
                if (m_pos >= m_text.size()) throw ScriptError(start, "the comment is not closed");
                Advance();
                Advance();
            } else if (static_cast<unsigned char>(c) == 0xEF && Peek(1) == '\xBB' && Peek(2) == '\xBF') {
                m_pos += 3;   // a byte-order mark
            } else {
                return;
            }
        }
    }

    std::string ReadString(const Token& start)
    {
        Advance();   // the opening quote
        std::string text;
        for (;;) {
            if (m_pos >= m_text.size() || m_text[m_pos] == '\n') throw ScriptError(start, "the string is not closed");
            const char c = Advance();
            if (c == '"') {
                if (Peek(0) == '"') {   // "" is a quote, as the resource compiler reads it
                    text += Advance();
                    continue;
                }
                return text;
            }
            if (c != '\\') {
                text += c;
                continue;
            }
            if (m_pos >= m_text.size()) throw ScriptError(start, "the string is not closed");
            const char escaped = Advance();
            switch (escaped) {
            case 'n': text += '\n'; break;
            case 't': text += '\t'; break;
            case 'r': text += '\r'; break;
            case 'a': text += '\b'; break;
            case '0': text += '\0'; break;
            default: text += escaped; break;
            }
        }
    }

    long long ReadNumber(const Token& start)
    {
        long long value = 0;
        int base = 10;
        if (m_text[m_pos] == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
            base = 16;
            Advance();
            Advance();
        }
        bool digits = false;
        while (m_pos < m_text.size()) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(m_text[m_pos])));
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (digit < 0) break;
            value = value * base + digit;
            if (value > 0xFFFFFFFFLL) throw ScriptError(start, "the number is too large");
            digits = true;
            Advance();
        }
        if (!digits) throw ScriptError(start, "a number has no digits");
        if (m_pos < m_text.size() && (m_text[m_pos] == 'L' || m_text[m_pos] == 'l' || m_text[m_pos] == 'U' ||
                                      m_text[m_pos] == 'u'))
            Advance();
        return value;
    }

    const std::string& m_text;
    size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

const std::map<std::string, long long>& BuiltinSymbols()
{
    static const std::map<std::string, long long> symbols = {
#define SYMBOL(name) {#name, static_cast<long long>(static_cast<DWORD>(name))}
        SYMBOL(WS_OVERLAPPED), SYMBOL(WS_POPUP), SYMBOL(WS_CHILD), SYMBOL(WS_MINIMIZE), SYMBOL(WS_VISIBLE),
        SYMBOL(WS_DISABLED), SYMBOL(WS_CLIPSIBLINGS), SYMBOL(WS_CLIPCHILDREN), SYMBOL(WS_MAXIMIZE), SYMBOL(WS_CAPTION),
        SYMBOL(WS_BORDER), SYMBOL(WS_DLGFRAME), SYMBOL(WS_VSCROLL), SYMBOL(WS_HSCROLL), SYMBOL(WS_SYSMENU),
        SYMBOL(WS_THICKFRAME), SYMBOL(WS_GROUP), SYMBOL(WS_TABSTOP), SYMBOL(WS_MINIMIZEBOX), SYMBOL(WS_MAXIMIZEBOX),
        SYMBOL(WS_CHILDWINDOW), SYMBOL(WS_OVERLAPPEDWINDOW), SYMBOL(WS_POPUPWINDOW),
        SYMBOL(WS_EX_DLGMODALFRAME), SYMBOL(WS_EX_NOPARENTNOTIFY), SYMBOL(WS_EX_TOPMOST), SYMBOL(WS_EX_ACCEPTFILES),
        SYMBOL(WS_EX_TRANSPARENT), SYMBOL(WS_EX_TOOLWINDOW), SYMBOL(WS_EX_WINDOWEDGE), SYMBOL(WS_EX_CLIENTEDGE),
        SYMBOL(WS_EX_CONTROLPARENT), SYMBOL(WS_EX_STATICEDGE),
        SYMBOL(DS_ABSALIGN), SYMBOL(DS_SYSMODAL), SYMBOL(DS_3DLOOK), SYMBOL(DS_FIXEDSYS), SYMBOL(DS_NOFAILCREATE),
        SYMBOL(DS_LOCALEDIT), SYMBOL(DS_SETFONT), SYMBOL(DS_MODALFRAME), SYMBOL(DS_NOIDLEMSG),
        SYMBOL(DS_SETFOREGROUND), SYMBOL(DS_CONTROL), SYMBOL(DS_CENTER), SYMBOL(DS_CENTERMOUSE),
        SYMBOL(DS_CONTEXTHELP), SYMBOL(DS_SHELLFONT),
        SYMBOL(BS_PUSHBUTTON), SYMBOL(BS_DEFPUSHBUTTON), SYMBOL(BS_CHECKBOX), SYMBOL(BS_AUTOCHECKBOX),
        SYMBOL(BS_RADIOBUTTON), SYMBOL(BS_3STATE), SYMBOL(BS_AUTO3STATE), SYMBOL(BS_GROUPBOX), SYMBOL(BS_USERBUTTON),
        SYMBOL(BS_AUTORADIOBUTTON), SYMBOL(BS_PUSHBOX), SYMBOL(BS_OWNERDRAW), SYMBOL(BS_LEFTTEXT),
        SYMBOL(BS_RIGHTBUTTON), SYMBOL(BS_TEXT), SYMBOL(BS_ICON), SYMBOL(BS_BITMAP), SYMBOL(BS_LEFT), SYMBOL(BS_RIGHT),
        SYMBOL(BS_CENTER), SYMBOL(BS_TOP), SYMBOL(BS_BOTTOM), SYMBOL(BS_VCENTER), SYMBOL(BS_PUSHLIKE),
        SYMBOL(BS_MULTILINE), SYMBOL(BS_NOTIFY), SYMBOL(BS_FLAT),
        SYMBOL(SS_LEFT), SYMBOL(SS_CENTER), SYMBOL(SS_RIGHT), SYMBOL(SS_ICON), SYMBOL(SS_BLACKRECT),
        SYMBOL(SS_GRAYRECT), SYMBOL(SS_WHITERECT), SYMBOL(SS_BLACKFRAME), SYMBOL(SS_GRAYFRAME), SYMBOL(SS_WHITEFRAME),
        SYMBOL(SS_USERITEM), SYMBOL(SS_SIMPLE), SYMBOL(SS_LEFTNOWORDWRAP), SYMBOL(SS_OWNERDRAW), SYMBOL(SS_BITMAP),
        SYMBOL(SS_ETCHEDHORZ), SYMBOL(SS_ETCHEDVERT), SYMBOL(SS_ETCHEDFRAME), SYMBOL(SS_NOPREFIX), SYMBOL(SS_NOTIFY),
        SYMBOL(SS_CENTERIMAGE), SYMBOL(SS_RIGHTJUST), SYMBOL(SS_REALSIZEIMAGE), SYMBOL(SS_SUNKEN),
        SYMBOL(SS_ENDELLIPSIS), SYMBOL(SS_PATHELLIPSIS), SYMBOL(SS_WORDELLIPSIS),
        SYMBOL(ES_LEFT), SYMBOL(ES_CENTER), SYMBOL(ES_RIGHT), SYMBOL(ES_MULTILINE), SYMBOL(ES_UPPERCASE),
        SYMBOL(ES_LOWERCASE), SYMBOL(ES_PASSWORD), SYMBOL(ES_AUTOVSCROLL), SYMBOL(ES_AUTOHSCROLL), SYMBOL(ES_NOHIDESEL),
        SYMBOL(ES_OEMCONVERT), SYMBOL(ES_READONLY), SYMBOL(ES_WANTRETURN), SYMBOL(ES_NUMBER),
        SYMBOL(CBS_SIMPLE), SYMBOL(CBS_DROPDOWN), SYMBOL(CBS_DROPDOWNLIST), SYMBOL(CBS_OWNERDRAWFIXED),
        SYMBOL(CBS_OWNERDRAWVARIABLE), SYMBOL(CBS_AUTOHSCROLL), SYMBOL(CBS_OEMCONVERT), SYMBOL(CBS_SORT),
        SYMBOL(CBS_HASSTRINGS), SYMBOL(CBS_NOINTEGRALHEIGHT), SYMBOL(CBS_DISABLENOSCROLL), SYMBOL(CBS_UPPERCASE),
        SYMBOL(CBS_LOWERCASE),
        SYMBOL(LBS_NOTIFY), SYMBOL(LBS_SORT), SYMBOL(LBS_NOREDRAW), SYMBOL(LBS_MULTIPLESEL),
        SYMBOL(LBS_OWNERDRAWFIXED), SYMBOL(LBS_OWNERDRAWVARIABLE), SYMBOL(LBS_HASSTRINGS), SYMBOL(LBS_USETABSTOPS),
        SYMBOL(LBS_NOINTEGRALHEIGHT), SYMBOL(LBS_MULTICOLUMN), SYMBOL(LBS_WANTKEYBOARDINPUT),
        SYMBOL(LBS_EXTENDEDSEL), SYMBOL(LBS_DISABLENOSCROLL), SYMBOL(LBS_NODATA), SYMBOL(LBS_NOSEL),
        SYMBOL(LBS_STANDARD),
        SYMBOL(SBS_HORZ), SYMBOL(SBS_VERT), SYMBOL(SBS_TOPALIGN), SYMBOL(SBS_LEFTALIGN), SYMBOL(SBS_BOTTOMALIGN),
        SYMBOL(SBS_RIGHTALIGN), SYMBOL(SBS_SIZEBOX), SYMBOL(SBS_SIZEGRIP),
        SYMBOL(TCS_TABS), SYMBOL(TCS_BUTTONS), SYMBOL(TCS_MULTILINE), SYMBOL(TCS_FIXEDWIDTH), SYMBOL(TCS_FOCUSNEVER),
        SYMBOL(IDOK), SYMBOL(IDCANCEL), SYMBOL(IDABORT), SYMBOL(IDRETRY), SYMBOL(IDIGNORE), SYMBOL(IDYES), SYMBOL(IDNO),
        SYMBOL(IDHELP),
#undef SYMBOL
        {"IDC_STATIC", -1},
    };
    return symbols;
}

// Style bits of which a control has one value, such as the kind of a combo
// box or the alignment of an edit. zeroMember names the value written as 0,
// which the bits alone cannot show.
struct StyleGroup {
    DWORD mask;
    const char* zeroMember;   // null when no value of the group is 0
};

const StyleGroup kStaticType = {SS_TYPEMASK, "SS_LEFT"};
const StyleGroup kButtonType = {BS_TYPEMASK, "BS_PUSHBUTTON"};
const StyleGroup kEditAlignment = {ES_CENTER | ES_RIGHT, "ES_LEFT"};
const StyleGroup kComboType = {CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST, nullptr};
const StyleGroup kScrollBarDirection = {SBS_VERT, "SBS_HORZ"};

// A style written as bits to set and bits to clear (NOT x), so that NOT
// can take away a statement's default bits; what the script gave (not
// taken away) is kept apart, so that a statement's default of a group
// yields to a value of that group written in the script.
struct StyleValue {
    DWORD set = 0;
    DWORD clear = 0;
    DWORD given = 0;                  // every bit written without NOT
    std::vector<std::string> names;   // the names written without NOT
    DWORD Apply(DWORD defaults) const { return (defaults | set) & ~clear; }
    bool Gives(const StyleGroup& group) const
    {
        if (given & group.mask) return true;
        return group.zeroMember && std::find(names.begin(), names.end(), group.zeroMember) != names.end();
    }
};

class Parser {
public:
    Parser(std::vector<Token> tokens, ResourceTable& out) : m_tokens(std::move(tokens)), m_out(out) {}

    void Script()
    {
        while (!AtEnd()) Statement();
    }

private:
    const Token& Current() const { return m_tokens[m_pos]; }
    bool AtEnd() const { return Current().kind == TokenKind::End; }
    const Token& Take()
    {
        const Token& token = m_tokens[m_pos];
        if (token.kind != TokenKind::End) ++m_pos;
        return token;
    }
    [[noreturn]] void Fail(const std::string& what) const { throw ScriptError(Current(), what); }

    bool IsName(const char* name) const
    {
        if (Current().kind != TokenKind::Name) return false;
        std::string upper = Current().text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper == name;
    }
    bool IsSymbol(const char* symbol) const { return Current().kind == TokenKind::Symbol && Current().text == symbol; }
    bool TakeSymbol(const char* symbol)
    {
        if (!IsSymbol(symbol)) return false;
        Take();
        return true;
    }
    void ExpectSymbol(const char* symbol)
    {
        if (!TakeSymbol(symbol)) Fail(std::string("'") + symbol + "' expected");
    }
    void ExpectName(const char* name)
    {
        if (!IsName(name)) Fail(std::string(name) + " expected");
        Take();
    }
    bool IsBlockStart() const { return IsName("BEGIN") || IsSymbol("{"); }
    bool IsBlockEnd() const { return IsName("END") || IsSymbol("}"); }

    CString String()
    {
        if (Current().kind != TokenKind::String) Fail("a string expected");
        return CString(FromUtf8(Take().text).c_str());
    }

    long long Value(const Token& token) const
    {
        if (token.kind == TokenKind::Number) return token.number;
        auto defined = m_defines.find(token.text);
        if (defined != m_defines.end()) return defined->second;
        auto builtin = BuiltinSymbols().find(token.text);
        if (builtin != BuiltinSymbols().end()) return builtin->second;
        throw ScriptError(token, "'" + token.text + "' is not defined");
    }

    long long Primary()
    {
        if (TakeSymbol("(")) {
            const StyleValue value = Expression();
            ExpectSymbol(")");
            return value.set;
        }
        if (TakeSymbol("-")) return -Primary();
        if (TakeSymbol("~")) return static_cast<long long>(~static_cast<DWORD>(Primary()));
        if (Current().kind != TokenKind::Number && Current().kind != TokenKind::Name) Fail("a number or a name expected");
        return Value(Take());
    }

    StyleValue Expression()
    {
        StyleValue value;
        for (;;) {
            const bool negated = IsName("NOT");
            if (negated) Take();
            const bool named = Current().kind == TokenKind::Name;
            const std::string name = Current().text;
            const DWORD bits = static_cast<DWORD>(Primary());
            if (negated) {
                value.clear |= bits;
                value.set &= ~bits;
            } else {
                value.set |= bits;
                value.clear &= ~bits;
                value.given |= bits;
                if (named) value.names.push_back(name);
            }
            if (!TakeSymbol("|") && !TakeSymbol("+")) return value;
        }
    }

    int Number()
    {
        const Token start = Current();
        const long long value = Primary();
        if (value < -0x80000000LL || value > 0xFFFFFFFFLL) throw ScriptError(start, "the number is out of range");
        return static_cast<int>(value);
    }

    short Coordinate()
    {
        const Token start = Current();
        const int value = Number();
        if (value < -32768 || value > 32767) throw ScriptError(start, "a coordinate is out of range");
        return static_cast<short>(value);
    }

    UINT ResourceId()
    {
        const Token& token = Current();
        if (token.kind == TokenKind::String) Fail("named resources are not supported; give a number");
        const long long value = Primary();
        if (value < 1 || value > 0xFFFF) throw ScriptError(token, "a resource id must be 1 to 65535");
        return static_cast<UINT>(value);
    }

    void Statement()
    {
        if (TakeSymbol("#")) {
            Directive();
            return;
        }
        if (IsName("STRINGTABLE")) {
            Take();
            StringTable();
            return;
        }
        const UINT id = ResourceId();
        if (IsName("DIALOG") || IsName("DIALOGEX")) {
            Take();
            Dialog(id);
            return;
        }
        if (IsName("MENUEX")) Fail("MENUEX is not supported: write the menu as a MENU");
        if (IsName("MENU")) {
            Take();
            Menu(id);
            return;
        }
        Fail("DIALOG, DIALOGEX or MENU expected");
    }

    void Directive()
    {
        if (IsName("DEFINE")) {
            Take();
            if (Current().kind != TokenKind::Name) Fail("a name expected after #define");
            const std::string name = Take().text;
            m_defines[name] = Primary();
            return;
        }
        if (IsName("INCLUDE")) {
            // Headers of ids are the compiler's business; a script defines its own.
            Take();
            if (Current().kind != TokenKind::String) Fail("a file name expected after #include");
            Take();
            return;
        }
        Fail("#define or #include expected");
    }

    // Options the resource compiler allows and that change nothing here.
    bool SkipIgnoredOption()
    {
        if (IsName("LANGUAGE")) {
            Take();
            Number();
            ExpectSymbol(",");
            Number();
            return true;
        }
        if (IsName("CHARACTERISTICS") || IsName("VERSION")) {
            Take();
            Number();
            return true;
        }
        if (IsName("DISCARDABLE") || IsName("MOVEABLE") || IsName("PURE") || IsName("PRELOAD") || IsName("LOADONCALL") ||
            IsName("FIXED") || IsName("IMPURE")) {
            Take();
            return true;
        }
        return false;
    }

    void StringTable()
    {
        while (!IsBlockStart()) {
            if (AtEnd()) Fail("BEGIN expected");
            if (!SkipIgnoredOption()) Fail("BEGIN expected");
        }
        Take();
        while (!IsBlockEnd()) {
            if (AtEnd()) Fail("END expected");
            const int id = Number();
            if (id < 0 || id > 0xFFFF) Fail("a string id must be 0 to 65535");
            TakeSymbol(",");
            m_out.strings[static_cast<UINT>(id)] = std::wstring(String().GetString());
        }
        Take();
    }

    void Dialog(UINT id)
    {
        while (SkipIgnoredOption()) {
        }
        DialogTemplate dialog;
        dialog.x = Coordinate();
        ExpectSymbol(",");
        dialog.y = Coordinate();
        ExpectSymbol(",");
        dialog.cx = Coordinate();
        ExpectSymbol(",");
        dialog.cy = Coordinate();
        if (TakeSymbol(",")) dialog.helpId = static_cast<DWORD>(Number());
        DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        bool captioned = false;
        while (!IsBlockStart()) {
            if (AtEnd()) Fail("BEGIN expected");
            if (IsName("STYLE")) {
                Take();
                style = Expression().Apply(0);
            } else if (IsName("EXSTYLE")) {
                Take();
                dialog.exStyle = Expression().Apply(0);
            } else if (IsName("CAPTION")) {
                Take();
                dialog.caption = String();
                captioned = true;
            } else if (IsName("FONT")) {
                Take();
                Font(dialog);
            } else if (IsName("CLASS")) {
                Take();
                dialog.className = String();
            } else if (IsName("MENU")) {
                Take();
                dialog.menuOrdinal = static_cast<WORD>(ResourceId());
            } else if (!SkipIgnoredOption()) {
                Fail("a dialog option or BEGIN expected");
            }
        }
        Take();
        if (captioned) style |= WS_CAPTION;
        if (!dialog.faceName.IsEmpty()) style |= DS_SETFONT;
        dialog.style = style;
        while (!IsBlockEnd()) {
            if (AtEnd()) Fail("END expected");
            dialog.items.push_back(Control());
        }
        Take();
        m_out.data[{LOWORD(RT_DIALOG), id}] = WriteDialogTemplate(dialog);
    }

    void Font(DialogTemplate& dialog)
    {
        const int points = Number();
        if (points <= 0 || points > 0xFFFF) Fail("a font size must be positive");
        dialog.pointSize = static_cast<WORD>(points);
        ExpectSymbol(",");
        dialog.faceName = String();
        if (TakeSymbol(",")) dialog.weight = static_cast<WORD>(Number());
        if (TakeSymbol(",")) dialog.italic = static_cast<BYTE>(Number());
        if (TakeSymbol(",")) dialog.charset = static_cast<BYTE>(Number());
    }

    // A control statement's class and default style: the default value of
    // its type group, which applies only where the script gives none of that
    // group (COMBOBOX with CBS_DROPDOWN is a drop-down, not CBS_SIMPLE |
    // CBS_DROPDOWN), and flags that always apply unless taken away with NOT.
    struct ControlKind {
        const char* keyword;
        const wchar_t* className;
        const StyleGroup* group;   // null: the statement has flags only
        DWORD groupDefault;
        DWORD flags;
        bool hasText;

        DWORD Defaults(const StyleValue& style) const
        {
            const bool given = group && style.Gives(*group);
            return flags | (given ? 0 : groupDefault);
        }
    };

    static const ControlKind* FindKind(const std::string& keyword)
    {
        static const ControlKind kinds[] = {
            {"LTEXT", L"Static", &kStaticType, SS_LEFT, WS_GROUP, true},
            {"RTEXT", L"Static", &kStaticType, SS_RIGHT, WS_GROUP, true},
            {"CTEXT", L"Static", &kStaticType, SS_CENTER, WS_GROUP, true},
            {"PUSHBUTTON", L"Button", &kButtonType, BS_PUSHBUTTON, WS_TABSTOP, true},
            {"DEFPUSHBUTTON", L"Button", &kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP, true},
            {"PUSHBOX", L"Button", &kButtonType, BS_PUSHBOX, WS_TABSTOP, true},
            {"CHECKBOX", L"Button", &kButtonType, BS_CHECKBOX, WS_TABSTOP, true},
            {"AUTOCHECKBOX", L"Button", &kButtonType, BS_AUTOCHECKBOX, WS_TABSTOP, true},
            {"STATE3", L"Button", &kButtonType, BS_3STATE, WS_TABSTOP, true},
            {"AUTO3STATE", L"Button", &kButtonType, BS_AUTO3STATE, WS_TABSTOP, true},
            {"RADIOBUTTON", L"Button", &kButtonType, BS_RADIOBUTTON, WS_TABSTOP, true},
            {"AUTORADIOBUTTON", L"Button", &kButtonType, BS_AUTORADIOBUTTON, WS_TABSTOP, true},
            {"GROUPBOX", L"Button", &kButtonType, BS_GROUPBOX, 0, true},
            {"ICON", L"Static", &kStaticType, SS_ICON, 0, true},
            {"EDITTEXT", L"Edit", &kEditAlignment, ES_LEFT, WS_BORDER | WS_TABSTOP, false},
            {"COMBOBOX", L"ComboBox", &kComboType, CBS_SIMPLE, WS_TABSTOP, false},
            {"LISTBOX", L"ListBox", nullptr, 0, LBS_NOTIFY | WS_BORDER, false},
            {"SCROLLBAR", L"ScrollBar", &kScrollBarDirection, SBS_HORZ, 0, false},
        };
        std::string upper = keyword;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const ControlKind& kind : kinds)
            if (upper == kind.keyword) return &kind;
        return nullptr;
    }

    // A control's text: a string, or a number naming a resource (icons).
    void ControlText(DialogItemTemplate& item)
    {
        if (Current().kind == TokenKind::String) {
            item.text = String();
            return;
        }
        const int ordinal = Number();
        if (ordinal < 0 || ordinal > 0xFFFF) Fail("a resource id must be 0 to 65535");
        item.textOrdinal = static_cast<WORD>(ordinal);
    }

    void Rectangle(DialogItemTemplate& item)
    {
        item.x = Coordinate();
        ExpectSymbol(",");
        item.y = Coordinate();
        ExpectSymbol(",");
        item.cx = Coordinate();
        ExpectSymbol(",");
        item.cy = Coordinate();
    }

    DialogItemTemplate Control()
    {
        DialogItemTemplate item;
        if (Current().kind != TokenKind::Name) Fail("a control statement expected");
        const std::string keyword = Current().text;
        if (IsName("CONTROL")) {
            Take();
            ControlText(item);
            ExpectSymbol(",");
            item.id = static_cast<DWORD>(Number());
            ExpectSymbol(",");
            item.className = String();
            ExpectSymbol(",");
            item.style = Expression().Apply(WS_CHILD | WS_VISIBLE);
            ExpectSymbol(",");
            Rectangle(item);
            if (TakeSymbol(",")) item.exStyle = Expression().Apply(0);
            if (TakeSymbol(",")) item.helpId = static_cast<DWORD>(Number());
            return item;
        }
        const ControlKind* kind = FindKind(keyword);
        if (!kind) Fail("'" + keyword + "' is not a control statement");
        Take();
        if (kind->hasText) {
            ControlText(item);
            ExpectSymbol(",");
        }
        item.id = static_cast<DWORD>(Number());
        ExpectSymbol(",");
        item.className = kind->className;
        const bool icon = std::string(kind->keyword) == "ICON";
        // An icon's size may be left out: the icon gives it.
        item.x = Coordinate();
        ExpectSymbol(",");
        item.y = Coordinate();
        if (!icon || IsSymbol(",")) {
            ExpectSymbol(",");
            item.cx = Coordinate();
            ExpectSymbol(",");
            item.cy = Coordinate();
        }
        StyleValue style;
        if (TakeSymbol(",")) style = Expression();
        item.style = style.Apply(WS_CHILD | WS_VISIBLE | kind->Defaults(style));
        if (TakeSymbol(",")) item.exStyle = Expression().Apply(0);
        if (TakeSymbol(",")) item.helpId = static_cast<DWORD>(Number());
        return item;
    }

    void Menu(UINT id)
    {
        while (SkipIgnoredOption()) {
        }
        std::vector<MenuTemplateItem> items;
        MenuBlock(items, 0);
        m_out.data[{LOWORD(RT_MENU), id}] = WriteMenuTemplate(items);
    }

    UINT MenuOptions()
    {
        UINT flags = 0;
        while (TakeSymbol(",")) {
            if (IsName("CHECKED")) flags |= MF_CHECKED;
            else if (IsName("GRAYED")) flags |= MF_GRAYED;
            else if (IsName("INACTIVE")) flags |= MF_DISABLED;
            else if (IsName("MENUBARBREAK")) flags |= MF_MENUBARBREAK;
            else if (IsName("MENUBREAK")) flags |= MF_MENUBREAK;
            else if (IsName("HELP")) flags |= MF_HELP;
            else Fail("a menu item option expected");
            Take();
        }
        return flags;
    }

    void MenuBlock(std::vector<MenuTemplateItem>& items, int depth)
    {
        if (depth > 15) Fail("menus are nested too deeply");
        if (!IsBlockStart()) Fail("BEGIN expected");
        Take();
        while (!IsBlockEnd()) {
            if (AtEnd()) Fail("END expected");
            MenuTemplateItem item;
            if (IsName("POPUP")) {
                const Token popup = Take();
                item.text = String();
                item.flags = MF_POPUP | MenuOptions();
                MenuBlock(item.items, depth + 1);
                if (item.items.empty()) throw ScriptError(popup, "a POPUP needs at least one item");
            } else if (IsName("MENUITEM")) {
                Take();
                if (IsName("SEPARATOR")) {
                    Take();
                } else {
                    item.text = String();
                    ExpectSymbol(",");
                    const int command = Number();
                    if (command < 0 || command > 0xFFFF) Fail("a menu command must be 0 to 65535");
                    item.id = static_cast<UINT>(command);
                    item.flags = MenuOptions();
                }
            } else {
                Fail("POPUP or MENUITEM expected");
            }
            items.push_back(item);
        }
        Take();
    }

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    ResourceTable& m_out;
    std::map<std::string, long long> m_defines;
};

}  // namespace

ScriptResult CompileResourceScript(const std::string& utf8, ResourceTable& table)
{
    ScriptResult result;
    ResourceTable compiled;
    try {
        Parser parser(Lexer(utf8).Tokens(), compiled);
        parser.Script();
    } catch (const ScriptError& error) {
        result.line = error.line;
        result.column = error.column;
        result.message = error.what();
        return result;
    }
    for (auto& text : compiled.strings) table.strings[text.first] = text.second;
    for (auto& blob : compiled.data) table.data[blob.first] = blob.second;
    result.ok = true;
    return result;
}

ScriptResult CompileResourceScriptFile(const char* path, ResourceTable& table)
{
    ScriptResult result;
    const size_t kLargestScript = 16u * 1024u * 1024u;
    std::ifstream in(path ? path : "", std::ios::binary);
    if (!in) {
        result.message = "the script cannot be read";
        return result;
    }
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > kLargestScript) {
            result.message = "the script is too large";
            return result;
        }
    }
    return CompileResourceScript(text, table);
}

}  // namespace platform::ui
