// The print spooler with the Win32 names (WINSPOOL), backed by printers
// configured in the registry and a spool folder.
//
// Printers. Each printer is a key
//
//     [HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print\Printers\<printer name>]
//     "Port"="LPT1:"                  the port; for the PDF printer the folder pattern it writes
//                                     into, e.g. "C:\\PDF\\*.pdf" or "/srv/pdf/*.pdf";
//                                     "cups:<destination>" makes the printer a CUPS queue: its
//                                     finished jobs are handed to that destination of the print
//                                     service (CupsQueue.h), e.g. "cups:Ward_3_Laser"
//     "Printer Driver"="Generic"      the driver name EnumPrintersW reports
//     "Datatype"="RAW"                the datatype of jobs that name none
//     "Kind"="spool"                  who takes the jobs: "spool" (the spool folder, the default)
//                                     or "pdf" (the PDF printer queue); any other kind names a
//                                     queue this platform cannot drive, and opening it fails
//     "SpoolDirectory"="/var/spool/x" optional: this printer's spool folder
//     "PaperSize"=dword:00000009      optional defaults of the printer's DEVMODE: DMPAPER_* code,
//     "Orientation"=dword:00000001    DMORIENT_* and copies (A4, portrait, 1 copy when absent)
//     "Copies"=dword:00000001
//     "Comment"="", "Location"=""     optional, reported by EnumPrintersW
//
// so tests and hosts add a printer by writing the registry (platform::print::
// ConfigurePrinter in PrintSetup.h does it). Beside them, every destination of
// the print service (CUPS) is a printer of its own name, port "cups:<name>".
// The default printer is the win.ini entry [windows] device=<name>,<driver>,<port>,
// as on the original platform; without one, CUPS's default destination.
//
// The spool. Each finished job of a "spool" printer is two files in the spool
// folder (the printer's SpoolDirectory, else $MORVELANCE_SPOOL, else
// <temp>/morvelance-spool):
//     00007_<document>.prn   the bytes exactly as written (datatype RAW; .txt for TEXT),
//                            or .pdf for a job drawn through a printer DC
//     00007_<document>.job   the sidecar: Job, Printer, Document, Datatype, Pages, ... one
//                            "key=value" line each, UTF-8 (see PrintSetup.h for a reader)
// While a job is being written its bytes sit in 00007.SPL; a job that is
// aborted, or whose printer handle is closed before EndDocPrinter, leaves nothing.
// A DOC_INFO_1W with an output file writes the bytes to that file instead
// (printing to a file), without a sidecar.
//
// The PDF printer ("pdf" kind) takes only drawn pages (printer DCs); its
// settings and output are described in PrintSetup.h.
//
// Every call returns the Win32 failure value and sets the last error on a bad
// handle, an unknown printer, a write outside a document and the like.
#pragma once

#include "platform/base/WinTypes.h"

// ---- DEVMODEW ----------------------------------------------------------------------

#define CCHDEVICENAME 32
#define CCHFORMNAME 32
#define DM_SPECVERSION 0x0401

// The printer part of the device mode, fields in the published order. The
// display members of the original's unions are not kept (no display driver
// reads these), and wide characters are 4 bytes here, so callers must size
// buffers with DocumentPropertiesW(..., 0), which also counts the driver's
// private bytes (dmDriverExtra) that follow the structure.
struct _devicemodeW {
    WCHAR dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;                 // bytes of the public part
    WORD dmDriverExtra;          // bytes of driver data after the public part
    DWORD dmFields;              // DM_* bits: which of the members below are set
    short dmOrientation;         // DMORIENT_*
    short dmPaperSize;           // DMPAPER_*; DMPAPER_USER with dmPaperWidth/Length
    short dmPaperLength;         // tenths of a millimetre, portrait
    short dmPaperWidth;          // tenths of a millimetre, portrait
    short dmScale;               // percent
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality;        // dots per inch across
    short dmColor;               // DMCOLOR_*
    short dmDuplex;
    short dmYResolution;         // dots per inch down
    short dmTTOption;
    short dmCollate;
    WCHAR dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmNup;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
};
typedef _devicemodeW DEVMODEW;
typedef DEVMODEW* PDEVMODEW;
typedef DEVMODEW* LPDEVMODEW;
typedef DEVMODEW DEVMODE;
typedef PDEVMODEW PDEVMODE;
typedef LPDEVMODEW LPDEVMODE;

#define DM_ORIENTATION 0x00000001u
#define DM_PAPERSIZE 0x00000002u
#define DM_PAPERLENGTH 0x00000004u
#define DM_PAPERWIDTH 0x00000008u
#define DM_SCALE 0x00000010u
#define DM_COPIES 0x00000100u
#define DM_DEFAULTSOURCE 0x00000200u
#define DM_PRINTQUALITY 0x00000400u
#define DM_COLOR 0x00000800u
#define DM_DUPLEX 0x00001000u
#define DM_YRESOLUTION 0x00002000u
#define DM_TTOPTION 0x00004000u
#define DM_COLLATE 0x00008000u
#define DM_FORMNAME 0x00010000u

// DocumentPropertiesW modes.
#define DM_UPDATE 1
#define DM_COPY 2
#define DM_PROMPT 4
#define DM_MODIFY 8
#define DM_OUT_DEFAULT DM_UPDATE
#define DM_OUT_BUFFER DM_COPY
#define DM_IN_PROMPT DM_PROMPT
#define DM_IN_BUFFER DM_MODIFY

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

#define DMCOLOR_MONOCHROME 1
#define DMCOLOR_COLOR 2

#define DMDUP_SIMPLEX 1
#define DMCOLLATE_FALSE 0
#define DMCOLLATE_TRUE 1

#define DMPAPER_FIRST 1
#define DMPAPER_LETTER 1
#define DMPAPER_LETTERSMALL 2
#define DMPAPER_TABLOID 3
#define DMPAPER_LEDGER 4
#define DMPAPER_LEGAL 5
#define DMPAPER_STATEMENT 6
#define DMPAPER_EXECUTIVE 7
#define DMPAPER_A3 8
#define DMPAPER_A4 9
#define DMPAPER_A4SMALL 10
#define DMPAPER_A5 11
#define DMPAPER_B4 12
#define DMPAPER_B5 13
#define DMPAPER_FOLIO 14
#define DMPAPER_QUARTO 15
#define DMPAPER_10X14 16
#define DMPAPER_11X17 17
#define DMPAPER_NOTE 18
#define DMPAPER_ENV_9 19
#define DMPAPER_ENV_10 20
#define DMPAPER_ENV_11 21
#define DMPAPER_ENV_12 22
#define DMPAPER_ENV_14 23
#define DMPAPER_CSHEET 24
#define DMPAPER_DSHEET 25
#define DMPAPER_ESHEET 26
#define DMPAPER_ENV_DL 27
#define DMPAPER_ENV_C5 28
#define DMPAPER_ENV_C3 29
#define DMPAPER_ENV_C4 30
#define DMPAPER_ENV_C6 31
#define DMPAPER_ENV_C65 32
#define DMPAPER_ENV_B4 33
#define DMPAPER_ENV_B5 34
#define DMPAPER_ENV_B6 35
#define DMPAPER_ENV_ITALY 36
#define DMPAPER_ENV_MONARCH 37
#define DMPAPER_ENV_PERSONAL 38
#define DMPAPER_FANFOLD_US 39
#define DMPAPER_FANFOLD_STD_GERMAN 40
#define DMPAPER_FANFOLD_LGL_GERMAN 41
#define DMPAPER_LAST DMPAPER_FANFOLD_LGL_GERMAN
#define DMPAPER_USER 256

// ---- printer information ----------------------------------------------------------

typedef void* PSECURITY_DESCRIPTOR;
typedef DWORD ACCESS_MASK;
typedef HANDLE* LPHANDLE;

struct _PRINTER_INFO_1W {
    DWORD Flags;
    LPWSTR pDescription;         // "<name>,<driver>,<location>"
    LPWSTR pName;
    LPWSTR pComment;
};
typedef _PRINTER_INFO_1W PRINTER_INFO_1W;
typedef PRINTER_INFO_1W* PPRINTER_INFO_1W;
typedef PRINTER_INFO_1W* LPPRINTER_INFO_1W;

struct _PRINTER_INFO_2W {
    LPWSTR pServerName;          // null: a local printer
    LPWSTR pPrinterName;
    LPWSTR pShareName;
    LPWSTR pPortName;
    LPWSTR pDriverName;
    LPWSTR pComment;
    LPWSTR pLocation;
    LPDEVMODEW pDevMode;         // the printer's default device mode
    LPWSTR pSepFile;
    LPWSTR pPrintProcessor;
    LPWSTR pDatatype;
    LPWSTR pParameters;
    PSECURITY_DESCRIPTOR pSecurityDescriptor;
    DWORD Attributes;            // PRINTER_ATTRIBUTE_*
    DWORD Priority;
    DWORD DefaultPriority;
    DWORD StartTime;
    DWORD UntilTime;
    DWORD Status;
    DWORD cJobs;
    DWORD AveragePPM;
};
typedef _PRINTER_INFO_2W PRINTER_INFO_2W;
typedef PRINTER_INFO_2W* PPRINTER_INFO_2W;
typedef PRINTER_INFO_2W* LPPRINTER_INFO_2W;

struct _PRINTER_INFO_4W {
    LPWSTR pPrinterName;
    LPWSTR pServerName;
    DWORD Attributes;
};
typedef _PRINTER_INFO_4W PRINTER_INFO_4W;
typedef PRINTER_INFO_4W* PPRINTER_INFO_4W;
typedef PRINTER_INFO_4W* LPPRINTER_INFO_4W;

struct _PRINTER_DEFAULTSW {
    LPWSTR pDatatype;
    LPDEVMODEW pDevMode;
    ACCESS_MASK DesiredAccess;
};
typedef _PRINTER_DEFAULTSW PRINTER_DEFAULTSW;
typedef PRINTER_DEFAULTSW* PPRINTER_DEFAULTSW;
typedef PRINTER_DEFAULTSW* LPPRINTER_DEFAULTSW;

struct _DOC_INFO_1W {
    LPWSTR pDocName;
    LPWSTR pOutputFile;          // null: the printer's queue; otherwise a file to print to
    LPWSTR pDatatype;            // null: the printer's datatype
};
typedef _DOC_INFO_1W DOC_INFO_1W;
typedef DOC_INFO_1W* PDOC_INFO_1W;
typedef DOC_INFO_1W* LPDOC_INFO_1W;

#define PRINTER_ENUM_DEFAULT 0x00000001u
#define PRINTER_ENUM_LOCAL 0x00000002u
#define PRINTER_ENUM_CONNECTIONS 0x00000004u
#define PRINTER_ENUM_FAVORITE 0x00000004u
#define PRINTER_ENUM_NAME 0x00000008u
#define PRINTER_ENUM_REMOTE 0x00000010u
#define PRINTER_ENUM_SHARED 0x00000020u
#define PRINTER_ENUM_NETWORK 0x00000040u

#define PRINTER_ENUM_EXPAND 0x00004000u
#define PRINTER_ENUM_CONTAINER 0x00008000u
#define PRINTER_ENUM_ICON8 0x00800000u

#define PRINTER_ATTRIBUTE_QUEUED 0x00000001u
#define PRINTER_ATTRIBUTE_DIRECT 0x00000002u
#define PRINTER_ATTRIBUTE_DEFAULT 0x00000004u
#define PRINTER_ATTRIBUTE_SHARED 0x00000008u
#define PRINTER_ATTRIBUTE_NETWORK 0x00000010u
#define PRINTER_ATTRIBUTE_HIDDEN 0x00000020u
#define PRINTER_ATTRIBUTE_LOCAL 0x00000040u

#define PRINTER_ACCESS_ADMINISTER 0x00000004u
#define PRINTER_ACCESS_USE 0x00000008u
#define PRINTER_ALL_ACCESS 0x000F000Cu

// Spooler error codes.
#ifndef ERROR_NOT_READY
#define ERROR_NOT_READY 21u
#endif
#ifndef ERROR_PRINT_CANCELLED
#define ERROR_PRINT_CANCELLED 63u
#endif
#ifndef ERROR_INVALID_LEVEL
#define ERROR_INVALID_LEVEL 124u
#endif
#ifndef ERROR_CANCELLED
#define ERROR_CANCELLED 1223u
#endif
#ifndef ERROR_INVALID_PRINTER_NAME
#define ERROR_INVALID_PRINTER_NAME 1801u
#endif
#ifndef ERROR_INVALID_DATATYPE
#define ERROR_INVALID_DATATYPE 1804u
#endif
#ifndef ERROR_INVALID_PRINTER_STATE
#define ERROR_INVALID_PRINTER_STATE 1906u
#endif
#ifndef ERROR_SPL_NO_STARTDOC
#define ERROR_SPL_NO_STARTDOC 3004u
#endif

// ---- the spooler functions ---------------------------------------------------------

// Opens a configured printer by name (case does not matter). pDefault may
// give the handle's own datatype and device mode, used by later documents.
BOOL OpenPrinterW(LPCWSTR pPrinterName, LPHANDLE phPrinter, const PRINTER_DEFAULTSW* pDefault);
// A document still open on the handle is dropped, as an aborted job.
BOOL ClosePrinter(HANDLE hPrinter);

// fMode 0: the bytes a device mode of this printer takes (public part plus
// driver data). Otherwise the printer's (or the handle's) device mode,
// changed by the fields pDevModeInput marks (DM_IN_BUFFER), is copied to
// pDevModeOutput (DM_OUT_BUFFER); the result is IDOK. DM_IN_PROMPT shows no
// dialog here: nobody is there to change anything, so it answers IDOK. A
// field out of range (orientation, unknown paper, copies below 1) or a
// missing buffer gives -1. hPrinter may be null when pDeviceName names the printer.
LONG DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPCWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                         const DEVMODEW* pDevModeInput, DWORD fMode);

// Levels 1, 2 and 4. Every configured printer is local, so LOCAL and
// CONNECTIONS (or NAME with no name) list them all, in name order; DEFAULT
// lists the default printer. The two-call protocol: *pcbNeeded is always the
// size the entries need; a buffer smaller than that fails with
// ERROR_INSUFFICIENT_BUFFER and *pcReturned 0.
BOOL EnumPrintersW(DWORD Flags, LPCWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned);
// Level 2 (and 1, 4) of one open printer, with the same size protocol.
BOOL GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded);

// The name in win.ini's [windows] device entry up to its first comma.
// *pcchBuffer: characters in (with the terminator), out the length with the
// terminator; a short buffer fails with ERROR_INSUFFICIENT_BUFFER and the
// size needed; no default printer fails with ERROR_FILE_NOT_FOUND.
BOOL GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer);
// Writes "<name>,<driver>,<port>" for a configured printer; a null or empty
// name picks the first printer when none is the default yet.
BOOL SetDefaultPrinterW(LPCWSTR pszPrinter);

// Level 1 only. The datatype must be "RAW" (or a "RAW [...]" variant) or
// "TEXT"; the PDF printer takes none (ERROR_INVALID_DATATYPE). Returns the
// job id, 0 on failure.
DWORD StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo);
BOOL StartPagePrinter(HANDLE hPrinter);
BOOL EndPagePrinter(HANDLE hPrinter);
// Appends the bytes to the open document; outside one it fails with
// ERROR_SPL_NO_STARTDOC and *pcWritten 0.
BOOL WritePrinter(HANDLE hPrinter, LPCVOID pBuf, DWORD cbBuf, LPDWORD pcWritten);
// Hands the finished job to the spool (the files appear now).
BOOL EndDocPrinter(HANDLE hPrinter);
// Drops the open document; nothing of it stays in the spool.
BOOL AbortPrinter(HANDLE hPrinter);

#define OpenPrinter OpenPrinterW
#define DocumentProperties DocumentPropertiesW
#define EnumPrinters EnumPrintersW
#define GetPrinter GetPrinterW
#define GetDefaultPrinter GetDefaultPrinterW
#define SetDefaultPrinter SetDefaultPrinterW
#define StartDocPrinter StartDocPrinterW
