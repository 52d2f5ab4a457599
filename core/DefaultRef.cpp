#include "core/DefaultRef.h"

#include <cstring>

namespace {

const COLORREF kDefaultColors[DEFAULT_REF_COLOR_SLOTS] = {
    0x000000, 0x5A5AFF, 0xFFFFFF, 0xFF0000, 0xFF0000, 0xF43943, 0xCB51D5, 0x2D993D, 0x000000, 0x0000FF,
    0xA8C000, 0xFF00FF, 0xE0A820, 0x204080, 0xB13F31, 0x80FF80, 0xFFFFFF, 0x808000, 0x000000, 0xFFFFFF,
    0xFFFFFF, 0xDCDCDC, 0xFFFFFF, 0xFA0000, 0x0000C8, 0x000000, 0xDCDCDC, 0x000000, 0x808080};

// Writes the trailing fields in order; each entry is an integer or a float.
class CExamFieldWriter {
public:
    explicit CExamFieldWriter(_DEFAULT_REF& ref) : m_ref(ref), m_field(DEFAULT_REF_FIRST_EXAM_FIELD) {}
    CExamFieldWriter& Int(int value, int repeat = 1)
    {
        while (repeat-- > 0) m_ref.RefInt(m_field++) = value;
        return *this;
    }
    CExamFieldWriter& Float(float value, int repeat = 1)
    {
        while (repeat-- > 0) m_ref.RefFloat(m_field++) = value;
        return *this;
    }
    int Next() const { return m_field; }

private:
    _DEFAULT_REF& m_ref;
    int m_field;
};

}  // namespace

void InitDefaultRef(_DEFAULT_REF& ref)
{
    std::memset(&ref, 0, sizeof(ref));
    ref.nSmoothFilterMode = 1;
    ref.nSmoothFilterType = 1;
    ref.nDelBitNoise = 1;
    ref.nBaseLineWidth = 1;
    ref.nDensity1 = 4;
    ref.nDensity2 = 32;
    ref.nLinePower = 3;
    ref.fLineGamma = 1.0f;
    ref.fLineXWidth = 1.5f;
    ref.fLineYWidth = 1.5f;
    ref.nGridType = 0;
    ref.nNextInteger = 1;
    for (int slot = 0; slot < DEFAULT_REF_COLOR_SLOTS; ++slot) {
        ref.stColor[slot].crColor = kDefaultColors[slot];
        ref.stColor[slot].dwCompanion = 0;
    }

    static const int kLeading[20] = {1, 20, 23, 1, 1, 1, 1, 3, 5, 11, 5, 1, 1, 38, 35, 52, 54, 56, 62, 56};
    CExamFieldWriter w(ref);
    for (int value : kLeading) w.Int(value);
    w.Int(-1).Int(1).Int(-1);                 // 91 to 93: the serial-overlap flag in the middle
    w.Int(100, 5);                            // 94 to 98: filter values
    w.Float(-1.0f).Float(25.0f, 5);           // 99: first speed; 100 to 104
    w.Float(-1.0f, 2).Float(25.0f);           // 105, 106: first sensitivities 4, 5; 107
    w.Float(-1.0f, 4).Float(-1.0f);           // 108 to 111: first sensitivities 1, 0, 2, 3; 112
    w.Int(-1);                                // 113: first chest-half flag
    w.Int(0).Int(0).Int(0).Int(1);            // 114 to 117: comment, ST, ID check, pop-up mode
    w.Int(0, 8);                              // 118 to 125
    w.Float(10.0f, 5).Int(1).Int(0);          // 126 to 132
    w.Float(10.0f, 7).Int(1).Int(0).Int(1);   // 133 to 142
    w.Float(10.0f, 4).Int(1);                 // 143 to 147
    w.Float(10.0f, 2).Int(1);                 // 148 to 150
    w.Float(10.0f, 3).Int(1);                 // 151 to 154
    w.Float(10.0f).Int(1).Int(0).Int(0).Int(1).Int(2).Int(0).Int(0).Int(1).Int(2);   // 155 to 164
    w.Int(-1, 5).Int(1);                      // 165 to 170
}
