// Version resources. A file's version resource is a sidecar text file beside
// it, the file's name plus ".version" (Tavrion.ocx -> Tavrion.ocx.version),
// in UTF-8 with one "key = value" per line:
//
//     # numeric versions for the fixed information ("\")
//     FileVersion = 1.2.3.4
//     ProductVersion = 1.2.0.0
//     # the string tables, by language and code page
//     StringFileInfo\041103a4\FileVersion = 1, 2, 3, 4
//     StringFileInfo\040904e4\ProductVersion = 1.20
//     # optional: the translations (else the string tables' names)
//     VarFileInfo\Translation = 0x0411 0x03a4, 0x0409 0x04e4
//
// Keys may start with "\" and compare without regard to case; lines starting
// with '#' or ';' are comments; a value may be wrapped in double quotes.
// Optional numbers for the fixed information: FileFlagsMask, FileFlags,
// FileOS, FileType, FileSubtype. Without a numeric FileVersion line the
// fixed file version comes from the first string table's FileVersion.
//
// The block GetFileVersionInfoW fills is self-contained and relocatable:
// VerQueryValueW returns pointers into it. String values are wide and
// NUL-terminated, their length counted in characters with the NUL.
#pragma once

#include "platform/base/WinTypes.h"

typedef UINT* PUINT;

struct tagVS_FIXEDFILEINFO {
    DWORD dwSignature;          // VS_FFI_SIGNATURE
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;      // major << 16 | minor
    DWORD dwFileVersionLS;      // build << 16 | revision
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
typedef tagVS_FIXEDFILEINFO VS_FIXEDFILEINFO;

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u
#define VS_FFI_FILEFLAGSMASK 0x0000003Fu
#define VOS_NT_WINDOWS32 0x00040004u
#define VFT_UNKNOWN 0x0u
#define VFT_APP 0x1u
#define VFT_DLL 0x2u

// The size of the version block; 0 when the file has no version resource.
// *handle (optional) is set to 0, as on the original platform.
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
// Fills data with the version block; FALSE when there is none or len is
// smaller than GetFileVersionInfoSizeW said (the block is never cut short).
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD len, LPVOID data);
// "\" gives the VS_FIXEDFILEINFO, "\VarFileInfo\Translation" the array of
// (language, code page) WORD pairs (len in bytes), and
// "\StringFileInfo\llllcccc\Name" the string (len in characters with the NUL).
// FALSE for anything else, including the intermediate levels.
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT len);

#define GetFileVersionInfoSize GetFileVersionInfoSizeW
#define GetFileVersionInfo GetFileVersionInfoW
#define VerQueryValue VerQueryValueW
