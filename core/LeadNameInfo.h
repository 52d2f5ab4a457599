// The lead names of a record: the codes and edited names that the item
// records keep, and the names the views show.
#pragma once

#include "platform/base/Strings.h"

#define LEAD_NAME_EDITABLE 12
#define LEAD_NAME_CODES 15
#define LEAD_NAME_FREEZE 6
#define LEAD_NAME_RR 3

struct _LEAD_NAME_INFO {
    int bChanged = 0;                        // names were edited and must be written
    int nFlag[LEAD_NAME_EDITABLE] = {};      // 1: the lead carries an edited name
    int nCode[LEAD_NAME_CODES] = {};         // MFER lead codes, or 100 to 124 for extra and freeze leads
    CString strEditName[LEAD_NAME_EDITABLE];
    int nCount = 0;                          // leads described by flags, codes and edited names
    int nFreezeCode[LEAD_NAME_FREEZE] = {};
    CString strFreezeName[LEAD_NAME_FREEZE];
    int nRRCode[LEAD_NAME_RR] = {};
    CString strDispName[LEAD_NAME_CODES];    // names shown for leads 0 to 14
    int nLeadCount = 0;                      // 12 or 15 for full-lead rhythm records
};
