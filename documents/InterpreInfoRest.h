// The interpretation and comment block of a resting or MFER record: the
// resting form's fields, the Minnesota and IVREL code rows, the editors and
// their dates, the comment and the birthday. Fields keep the order of the
// record.
#pragma once

#include "core/PatientInfo.h"
#include "platform/base/Strings.h"

#define INTERPRE_MINNESOTA_ROWS 8
#define INTERPRE_IVREL_ROWS 11

struct _INTERPRE_INFO_REST {
    CString strMedication1;
    CString strMedication2;
    int nMedication1Sel = -1;        // list index; -1 when not read
    int nMedication2Sel = -1;
    CString strSympton;
    CString strDisease;
    CString strDepartment;
    CString strWard;
    CString strRoomNumber;
    CString strReqSection;
    CString strReqDoctor;
    CString strTechnician;
    CString strInfoEditDate;         // "%04d/%02d/%02d %02d:%02d:%02d" or empty
    CString strInfoEditor;
    CString strAnaEditDate;          // as above; empty when the stored date is no calendar date
    CString strAnaEditor;
    CString strRecommend;
    CString strCommentEditDate;
    CString strCommentEditor;
    CString strComment;              // lines end in CR LF
    CString strMinneCode[INTERPRE_MINNESOTA_ROWS];         // entries 0 to 7: rows 1 to 8
    CString strMinneMask[INTERPRE_MINNESOTA_ROWS];
    CString strMinneContent[INTERPRE_MINNESOTA_ROWS + 1];  // entries 0 to 7 used
    int nMinneCount = 0;             // Minnesota rows held
    CString strIvrelJudgeCode;
    CString strIvrelJudge;           // the judgement's text
    // Entries 1 to 11 hold rows 1 to 11; entry 0 stays empty. The code is the
    // statement code (the master's key), never its text.
    CString strIvrelMask[INTERPRE_IVREL_ROWS + 1];
    CString strIvrelCode[INTERPRE_IVREL_ROWS + 1];
    CString strIvrelContent[INTERPRE_IVREL_ROWS + 1];
    int nIvrelCount = 0;             // IVREL rows held
    _BIRTHDAY stBirthday;
    int bReqSection = 0;             // 1 when the requesting section was read
};
