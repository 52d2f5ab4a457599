// Code-page conversion with the Win32 names and contracts. Supported code
// pages: 932 (Shift-JIS as Windows has it, also CP_ACP here), 936 (GBK),
// 65001 (UTF-8) and 20127/1252 treated as their iconv namesakes. A character
// the target code page cannot hold becomes the default character '?', as
// the platform's default character would.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

// As Win32: with cchWideChar == 0 returns the number of wide characters needed
// (including the terminator when cbMultiByte == -1); otherwise converts and
// returns the count written, 0 on failure (buffer too small, bad code page).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte, LPWSTR wideChar,
                        int cchWideChar);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideChar, int cchWideChar, LPSTR multiByte,
                        int cbMultiByte, LPCSTR defaultChar, BOOL* usedDefaultChar);

namespace platform {
// Whole-string helpers used by the platform itself.
std::wstring DecodeCodePage(UINT codePage, const char* bytes, size_t length);
std::string EncodeCodePage(UINT codePage, const wchar_t* text, size_t length);
inline std::wstring DecodeCodePage(UINT codePage, const std::string& bytes)
{
    return DecodeCodePage(codePage, bytes.data(), bytes.size());
}
inline std::string EncodeCodePage(UINT codePage, const std::wstring& text)
{
    return EncodeCodePage(codePage, text.data(), text.size());
}
// UTF-8 <-> wide, for file names and library interfaces (never fails; bad
// sequences become U+FFFD).
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
}  // namespace platform
