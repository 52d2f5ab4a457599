// The stock-phrase lists of the phrase editors: list-box entries shown as
// "%3d %s" and renumbered after every change, read from and written to a
// section of a master file (Addition.xml, Comment.xml) in list order.
#pragma once

#include <vector>

#include "platform/base/Strings.h"

class CECGXMLParser;
class CWnd;

// "%3d %s" of a 1-based position and a phrase.
CString PhraseEntry(int position, const CString& phrase);
// The phrase of an entry: everything after its first four characters,
// leading blanks removed.
CString PhraseOfEntry(const CString& entry);

// The phrases of the list box `id` of `dialog`, in order.
std::vector<CString> ListPhrases(CWnd& dialog, int id);
// Rewrites every entry of the list box with its position; keeps the selection.
void RenumberList(CWnd& dialog, int id);
void FillList(CWnd& dialog, int id, const std::vector<CString>& phrases);

// The phrases at "section/element[i]" for i from 1 to the count; an unreadable element is empty.
std::vector<CString> ReadPhrases(CECGXMLParser& xml, const CString& section, const CString& element);
// Removes every element under the section and appends one per phrase
// (trimmed on both sides), making the section when the file lacks it.
// FALSE when the section could not be made.
BOOL WritePhrases(CECGXMLParser& xml, const CString& section, const CString& element,
                  const std::vector<CString>& phrases);

// Saves the master file after its phrases were written (`written`); when
// either failed, shows the write-error box and returns false, so that the
// editor stays open with the user's phrases and OK can be pressed again.
bool SaveMasterOrWarn(CECGXMLParser& xml, bool written);

// A master file's path in the work directory.
CString WorkDirFile(const wchar_t* name);
// Makes the master file with only its root element when it does not exist,
// so that a missing master can be written on OK.
void CreateMasterIfMissing(const CString& path, const wchar_t* root);
