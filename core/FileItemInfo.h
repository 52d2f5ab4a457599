// The host's file-list record of one record file.
#pragma once

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

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
};
