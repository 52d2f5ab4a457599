// The display settings record of a document: 170 32-bit fields, copied whole
// by CTavrionDoc::InitialSetting. The leading fields are the drawing settings
// and the 29 colour slots; the remaining 100 belong to the examination
// documents, which name them by their position counted from 1 (RefInt/RefFloat).
#pragma once

#include "platform/base/WinTypes.h"

#define DEFAULT_REF_COLOR_SLOTS 29
#define DEFAULT_REF_EXAM_FIELDS 100
#define DEFAULT_REF_FIRST_EXAM_FIELD 71

struct _REF_COLOR {
    COLORREF crColor;
    DWORD dwCompanion;   // cleared by every store of the colour
};

union _REF_FIELD {
    int n;
    float f;
};

struct _DEFAULT_REF {
    int nSmoothFilterMode;      // field 1
    int nSmoothFilterType;      // 2
    int nDelBitNoise;           // 3: bit-noise suppression switch
    int nBaseLineWidth;         // 4
    int nDensity1;              // 5: brightness density of density mode 1
    int nDensity2;              // 6: brightness density of density mode 2
    int nLinePower;             // 7
    float fLineGamma;           // 8
    float fLineXWidth;          // 9
    float fLineYWidth;          // 10
    int nGridType;              // 11
    int nNextInteger;           // 12: no setting number reaches it
    _REF_COLOR stColor[DEFAULT_REF_COLOR_SLOTS];   // fields 13 to 70
    _REF_FIELD uExam[DEFAULT_REF_EXAM_FIELDS];     // fields 71 to 170

    // A trailing field by its position counted from 1 (71 to 170).
    int& RefInt(int field) { return uExam[field - DEFAULT_REF_FIRST_EXAM_FIELD].n; }
    float& RefFloat(int field) { return uExam[field - DEFAULT_REF_FIRST_EXAM_FIELD].f; }
    int RefInt(int field) const { return uExam[field - DEFAULT_REF_FIRST_EXAM_FIELD].n; }
    float RefFloat(int field) const { return uExam[field - DEFAULT_REF_FIRST_EXAM_FIELD].f; }
};

static_assert(sizeof(_DEFAULT_REF) == 170 * 4, "the settings record has 170 32-bit fields");

// Positions of the trailing fields that the base document reads and writes.
enum _DEFAULT_REF_FIELD {
    REF_SERIAL_OVERLAP = 92,
    REF_FILTER_1 = 94,            // five filter values, 94 to 98 (GetFilterStatus)
    REF_FIRST_SPEED = 99,         // float, -1.0 until the record's first speed is set
    REF_FIRST_SENSE_4 = 105,      // floats: the record's first sensitivities of kinds 4 and 5
    REF_FIRST_SENSE_5 = 106,
    REF_SPEED_STATUS = 107,       // float read by GetSpeedStatus
    REF_FIRST_SENSE_1 = 108,      // floats: the record's first sensitivities of kinds 1, 0, 2 and 3
    REF_FIRST_SENSE_0 = 109,
    REF_FIRST_SENSE_2 = 110,
    REF_FIRST_SENSE_3 = 111,
    REF_FIRST_CHEST_HALF = 113,   // -1 until the record's first chest-half flag is set
    REF_SHOW_COMMENT = 114,
    REF_SHOW_ST = 115,
    REF_CHECK_ID = 116,
    REF_POPUP_MODE = 117,
    // The display settings' copy of the one-lead and three-lead selections,
    // kept per kind: one for the rhythm records, one for the device (MFER)
    // records. Each is a single lead followed by three leads.
    REF_RHYTHM_SINGLE_LEAD = 157,
    REF_RHYTHM_THREE_LEADS = 158,   // 158 to 160
    REF_DEVICE_SINGLE_LEAD = 161,
    REF_DEVICE_THREE_LEADS = 162,   // 162 to 164
};

// Fills the record with its defaults.
void InitDefaultRef(_DEFAULT_REF& ref);
