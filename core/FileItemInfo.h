// The host's file-list record of one record file.
#pragma once

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

// Why the file-list reader did not read a record; with any of these its
// return is 1 (255 for an MFER file without a root). The reader shows
// nothing: the host says what failed.
enum class FileListFailure {
    None,
    CannotOpen,      // the file cannot be opened or read whole
    NotRecordFile,   // no extension, shorter than a record, or no reader accepts it
    NoMemory,        // there is not the memory here to hold the record
    TooLarge,        // larger than the readers take on any machine
    NoSystemCode,    // no system code, or none of the lead counts its kind has
    NoHl7Header,     // the HL7 header named with it does not exist
    NoPatientId,     // the HL7 header names no patient id
    NoRoot,          // an MFER file without a root record
};

struct _FILEITEM_INFO {
    CString strAcqTime;        // "%04d/%02d/%02d %02d:%02d:%02d" or "****/**/** **:**:**"
    CString strPatientID;
    CString strPatientName;
    CString strFurtherText;    // the text of data tag 4081
    int nSystemCode = 1;       // the record's 16-bit system code; 1 marks a record not read
    int bOldReader = 0;        // 1 when the older reader library accepted the record
    COleDateTime dtAcqDate;    // 1 January 1900 when the time is missing or not valid
    int nLeadCount = 0;
    int nAnnoCount = 0;        // set only when the record XML holds at least one annotation
    FileListFailure failure = FileListFailure::None;   // set by the file-list reader on every read
};
