#include "documents/InterpreCodeRows.h"

#include <algorithm>
#include <vector>

namespace {

struct CodeRow {
    CString code, mask, content;
    bool operator==(const CodeRow& other) const
    {
        return code == other.code && mask == other.mask && content == other.content;
    }
};

std::vector<CodeRow> MinnesotaRows(const _INTERPRE_INFO_REST& info)
{
    std::vector<CodeRow> rows;
    const int count = std::clamp(info.nMinneCount, 0, INTERPRE_MINNESOTA_ROWS);
    for (int i = 0; i < count; ++i) {
        if (!info.strMinneCode[i].IsEmpty())
            rows.push_back({info.strMinneCode[i], info.strMinneMask[i], info.strMinneContent[i]});
    }
    return rows;
}

std::vector<CodeRow> IvrelRows(const _INTERPRE_INFO_REST& info)
{
    std::vector<CodeRow> rows;
    const int count = std::clamp(info.nIvrelCount, 0, INTERPRE_IVREL_ROWS);
    for (int i = 1; i <= count; ++i) {
        if (!info.strIvrelCode[i].IsEmpty())
            rows.push_back({info.strIvrelCode[i], info.strIvrelMask[i], info.strIvrelContent[i]});
    }
    return rows;
}

}  // namespace

bool SameMinnesotaRows(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b)
{
    return MinnesotaRows(a) == MinnesotaRows(b);
}

bool SameIvrelRows(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b)
{
    return IvrelRows(a) == IvrelRows(b);
}

bool SameIvrelJudgement(const _INTERPRE_INFO_REST& a, const _INTERPRE_INFO_REST& b)
{
    return a.strIvrelJudgeCode == b.strIvrelJudgeCode && a.strIvrelJudge == b.strIvrelJudge;
}
