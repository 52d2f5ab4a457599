#include "dialogs/PhraseList.h"

#include <cstdio>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionMessage.h"
#include "dialogs/XmlPathMaker.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/xml/XmlParser.h"

CString PhraseEntry(int position, const CString& phrase)
{
    CString entry;
    entry.Format(L"%3d %s", position, static_cast<LPCWSTR>(phrase));
    return entry;
}

CString PhraseOfEntry(const CString& entry)
{
    CString phrase = entry.Mid(4);
    phrase.TrimLeft(L' ');
    return phrase;
}

namespace {
CString ListText(CWnd& dialog, int id, int index)
{
    const auto length = dialog.SendDlgItemMessage(id, LB_GETTEXTLEN, index);
    if (length < 0) return CString();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    dialog.SendDlgItemMessage(id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}
}  // namespace

std::vector<CString> ListPhrases(CWnd& dialog, int id)
{
    std::vector<CString> phrases;
    const int count = static_cast<int>(dialog.SendDlgItemMessage(id, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) phrases.push_back(PhraseOfEntry(ListText(dialog, id, i)));
    return phrases;
}

void FillList(CWnd& dialog, int id, const std::vector<CString>& phrases)
{
    dialog.SendDlgItemMessage(id, LB_RESETCONTENT);
    for (size_t i = 0; i < phrases.size(); ++i) {
        const CString entry = PhraseEntry(static_cast<int>(i) + 1, phrases[i]);
        dialog.SendDlgItemMessage(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(entry)));
    }
}

void RenumberList(CWnd& dialog, int id)
{
    const auto selected = dialog.SendDlgItemMessage(id, LB_GETCURSEL);
    FillList(dialog, id, ListPhrases(dialog, id));
    dialog.SendDlgItemMessage(id, LB_SETCURSEL, selected);
}

std::vector<CString> ReadPhrases(CECGXMLParser& xml, const CString& section, const CString& element)
{
    CString all;
    all.Format(L"%s/%s", static_cast<LPCWSTR>(section), static_cast<LPCWSTR>(element));
    const int count = xml.GetObjectCount(all);
    std::vector<CString> phrases;
    for (int i = 1; i <= count; ++i) {
        CString one;
        one.Format(L"%s/%s[%d]", static_cast<LPCWSTR>(section), static_cast<LPCWSTR>(element), i);
        CString phrase;
        xml.GetDataFromXMLDOM(phrase, one, 4, CString());
        phrases.push_back(phrase);
    }
    return phrases;
}

BOOL WritePhrases(CECGXMLParser& xml, const CString& section, const CString& element,
                  const std::vector<CString>& phrases)
{
    CString all;
    all.Format(L"%s/%s", static_cast<LPCWSTR>(section), static_cast<LPCWSTR>(element));
    // Counted once: counting again before every removal would walk the
    // whole list each time.
    for (int left = xml.GetObjectCount(all); left > 0; --left)
        if (!xml.RemoveNode(all)) break;
    if (!EnsureElementPath(xml, section)) return FALSE;
    CString parent = section;
    for (CString phrase : phrases) {
        phrase.Trim();
        CXmlElmentNode node;
        node.SetName(element);
        node.SetContent(phrase);
        if (!xml.Add_LastChildNode(node, parent)) return FALSE;
    }
    return TRUE;
}

bool SaveMasterOrWarn(CECGXMLParser& xml, bool written)
{
    CECGXMLParser::ForgetSaveFailure();
    if (written) {
        xml.SaveToXMLFile();
        written = !xml.m_bLastSaveFailed;
    }
    if (!written) {
        // A master that could not be written is named with the cause, as a record XML is.
        const CString text = CECGXMLParser::GetSaveFailureText();
        CECGXMLParser::ForgetSaveFailure();
        CTavrionMessage box(text, 1, nullptr, nullptr, MB_OK);
    }
    return written;
}

CString WorkDirFile(const wchar_t* name)
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", name);
    return path;
}

void CreateMasterIfMissing(const CString& path, const wchar_t* root)
{
    CString native = path;
    native.Replace(L'\\', L'/');
    const std::string file = platform::ToUtf8(static_cast<LPCWSTR>(native));
    if (FILE* existing = std::fopen(file.c_str(), "rb")) {
        std::fclose(existing);
        return;
    }
    FILE* created = std::fopen(file.c_str(), "wb");
    if (!created) return;
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + platform::ToUtf8(root) + "/>\n";
    std::fwrite(text.data(), 1, text.size(), created);
    std::fclose(created);
}
