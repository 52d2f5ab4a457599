// What a save leaves of the comment of the rhythm, RR and extra-lead forms,
// checked alike for the three documents: an edited comment is written with
// CR LF line ends and reads back the same, one at or past the form's byte
// limit reads back whole, and a device's bare-LF comment reads with CR LF and
// stays as it was through a save that did not edit it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "tests/support/DocumentTestSupport.h"

namespace commenttest {

const CString kCommentPath = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content";
const int kFormLimit = 255;   // code page 932 bytes

// Opens the record in a fresh document with its item current; null when it fails.
using OpenRecord = std::function<std::unique_ptr<CTavrionDoc>()>;

// The comment the form shows for the record.
inline CString ShownComment(const OpenRecord& open)
{
    std::unique_ptr<CTavrionDoc> doc = open();
    if (!doc) return L"<not opened>";
    doc->SetCtrlContent(nullptr);
    return testsupport::StoredText(*doc, 4017);
}

// Types into the form's controls and saves; false when the save fails.
inline bool TypeAndSave(const OpenRecord& open, UINT id, const CString& text)
{
    std::unique_ptr<CTavrionDoc> doc = open();
    if (!doc) return false;
    doc->SetCtrlContent(nullptr);
    doc->SetCtrlData(id, text, 0, -1);
    return doc->SaveDataToXML(doc->GetCurDataIndex()) == 0;
}

inline CString Repeated(const wchar_t* unit, int count)
{
    CString text;
    for (int i = 0; i < count; ++i) text += unit;
    return text;
}

inline void ExpectCommentsKeepTheirLineEnds(const std::string& xml, const OpenRecord& open)
{
    // A record XML as the device writes it: bare line feeds.
    testsupport::WriteXmlValue(xml, kCommentPath, L"device line\nsecond line");
    EXPECT_EQ(ShownComment(open), CString(L"device line\r\nsecond line"));
    // Another field edited: the comment stays as the device stored it.
    ASSERT_TRUE(TypeAndSave(open, 3641, L"動悸"));
    EXPECT_NE(testsupport::ReadFileBytes(xml).find("<Comment_content>device line\nsecond line</Comment_content>"),
              std::string::npos);
    EXPECT_EQ(ShownComment(open), CString(L"device line\r\nsecond line"));

    // An edited comment goes to the file with CR LF, the CR as XML keeps it.
    ASSERT_TRUE(TypeAndSave(open, 4017, L"ST change\r\nfollow up"));
    EXPECT_NE(testsupport::ReadFileBytes(xml).find("<Comment_content>ST change&#13;\nfollow up</Comment_content>"),
              std::string::npos);
    EXPECT_EQ(ShownComment(open), CString(L"ST change\r\nfollow up"));
    ASSERT_TRUE(TypeAndSave(open, 4017, L"所見なし\r\n経過観察"));
    EXPECT_EQ(ShownComment(open), CString(L"所見なし\r\n経過観察"));

    // At the limit with its line ends counted as two bytes: read back whole.
    const CString atLimit = Repeated(L"心", 60) + L"\r\n" + Repeated(L"A", 133);
    ASSERT_EQ(GetCharLength(atLimit), kFormLimit);
    ASSERT_TRUE(TypeAndSave(open, 4017, atLimit));
    EXPECT_EQ(ShownComment(open), atLimit);

    // Bare line feeds in the form's text at the limit counted once, and a
    // line end past it: written whole with CR LF and read back whole. The
    // save once cut an edited comment to what the reader then took, which
    // also cut a comment stored past the limit at its first edit; the reader
    // now gives back what is stored, and the box limits what is typed.
    const CString bare = Repeated(L"心", 60) + L"\n" + Repeated(L"A", 60) + L"\n" + Repeated(L"B", 73);
    ASSERT_EQ(GetCharLength(bare), kFormLimit);
    ASSERT_TRUE(TypeAndSave(open, 4017, bare));
    EXPECT_EQ(ShownComment(open), Repeated(L"心", 60) + L"\r\n" + Repeated(L"A", 60) + L"\r\n" + Repeated(L"B", 73));
    const CString pairAtTheEdge = Repeated(L"A", 254) + L"\r\nB";
    ASSERT_TRUE(TypeAndSave(open, 4017, pairAtTheEdge));
    EXPECT_EQ(ShownComment(open), pairAtTheEdge);
}

}  // namespace commenttest
