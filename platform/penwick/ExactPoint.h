// CExactPoint: a point of a sketch in unscaled page units (two floats), so
// shapes keep their exact positions whatever the ratio they are shown at.
#pragma once

#include <cmath>

#include "platform/base/Geometry.h"

class CExactPoint {
public:
    CExactPoint() = default;
    CExactPoint(float fx, float fy) : x(fx), y(fy) {}

    bool operator==(const CExactPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const CExactPoint& other) const { return !(*this == other); }
    CExactPoint operator+(const CExactPoint& other) const { return CExactPoint(x + other.x, y + other.y); }
    CExactPoint operator-(const CExactPoint& other) const { return CExactPoint(x - other.x, y - other.y); }
    float Distance(const CExactPoint& other) const { return std::hypot(x - other.x, y - other.y); }

    float x = 0.0f;
    float y = 0.0f;
};
