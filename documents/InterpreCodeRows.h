// The Minnesota and IVREL code rows of a resting or MFER interpretation as
// the person sees them: the rows held that carry a code, in order (the forms
// close up empty rows), and the judgement. A save compares them with what
// the record XML reads as, to leave the stored rows as they are where the
// person did not change them.
#pragma once

#include "documents/InterpreInfoRest.h"

bool SameMinnesotaRows(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b);
bool SameIvrelRows(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b);
bool SameIvrelJudgement(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b);
