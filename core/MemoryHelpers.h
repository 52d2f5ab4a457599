// Exported helpers for record images and record texts.
#pragma once

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

struct _ECGDATA;

// A zero-filled block from the process heap; null for size 0. Heap
// exhaustion raises the heap's exception, which callers do not catch.
void* MemoryAlloc(UINT size);
// The heap's success flag; the block must come from MemoryAlloc (null: FALSE).
BOOL MemoryFree(void* block);
// Copies count bytes and returns count; 0 (or a negative count) copies nothing.
int CopyChars(BYTE* dest, const BYTE* src, int count);
// Bytes of the text in code page 932 (Shift-JIS), without the terminator;
// a character the code page cannot hold counts as one byte.
int GetCharLength(const wchar_t* text);
// The build text of the running program handed to the newer reader.
void GetVersionBuild(CString& text);

// Releases an image with its blobs (first, second, then the image) and clears
// the caller's pointer. Safe on null.
void FreeECGData(_ECGDATA*& image);
