#include "CubeAnimation.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace zelmox {

// Points 0 to 7 are the corners of a cube of edge 200 about the origin. Inside it, parallel to
// its front face, an arrow pointing up (points 8 to 12); parallel to its back face, the trace of
// a change (points 13 to 17).
const std::array<CubePoint, CubeAnimation::PointCount> CubeAnimation::StartPoints = {{
    {-100, -100, -100},
    {100, -100, -100},
    {100, 100, -100},
    {-100, 100, -100},
    {-100, -100, 100},
    {100, -100, 100},
    {100, 100, 100},
    {-100, 100, 100},
    {0, 80, -80},
    {0, -80, -80},
    {-40, -40, -80},
    {0, -80, -80},
    {40, -40, -80},
    {-50, 0, 80},
    {-20, 0, 80},
    {0, -70, 80},
    {20, 70, 80},
    {50, 0, 80},
}};

const std::array<std::array<int, 2>, 19> CubeAnimation::Segments = {{
    {0, 1}, {1, 2}, {2, 3}, {3, 0},   {4, 5},   {5, 6},   {6, 7},   {7, 4},   {4, 0},   {1, 5},
    {2, 6}, {3, 7}, {8, 9}, {10, 11}, {11, 12}, {13, 14}, {14, 15}, {15, 16}, {16, 17},
}};

int RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) {
        return static_cast<int>(below);
    }
    if (fraction > 0.5) {
        return static_cast<int>(below) + 1;
    }
    return std::fmod(below, 2.0) == 0 ? static_cast<int>(below) : static_cast<int>(below) + 1;
}

std::vector<PixelPoint> LinePixels(PixelPoint from, PixelPoint to) {
    const int dx = to.X - from.X;
    const int dy = to.Y - from.Y;
    const int sx = dx >= 0 ? 1 : -1;
    const int sy = dy >= 0 ? 1 : -1;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int major = alongX ? std::abs(dx) : std::abs(dy);
    const int minor = alongX ? std::abs(dy) : std::abs(dx);

    std::vector<PixelPoint> pixels;
    pixels.reserve(static_cast<std::size_t>(major) + 1);
    PixelPoint at = from;
    int d = 2 * minor - major;
    for (int i = 0; i <= major; ++i) {
        pixels.push_back(at);
        if (d < 0) {
            (alongX ? at.X : at.Y) += alongX ? sx : sy;
            d += 2 * minor;
        } else {
            at.X += sx;
            at.Y += sy;
            d += 2 * (minor - major);
        }
    }
    return pixels;
}

void CubePicture::Set(PixelPoint pixel) {
    if (pixel.X >= 0 && pixel.X < Size && pixel.Y >= 0 && pixel.Y < Size) {
        pixels_[static_cast<std::size_t>(pixel.Y * Size + pixel.X)] = true;
    }
}

bool CubePicture::IsSet(int x, int y) const {
    return x >= 0 && x < Size && y >= 0 && y < Size &&
           pixels_[static_cast<std::size_t>(y * Size + x)];
}

int CubePicture::SetCount() const {
    int count = 0;
    for (const bool set : pixels_) {
        count += set ? 1 : 0;
    }
    return count;
}

CubeAnimation::CubeAnimation() : points_(StartPoints) {
    for (std::size_t degrees = 0; degrees < sine_.size(); ++degrees) {
        const double radians = static_cast<double>(degrees) * std::numbers::pi / 180.0;
        sine_[degrees] = std::sin(radians);
        cosine_[degrees] = std::cos(radians);
    }
}

PixelPoint CubeAnimation::Project(const CubePoint& point) const {
    const double depth = point.Z + ViewerDistance;
    return {RoundHalfToEven(point.X * Scale / depth + Centre),
            RoundHalfToEven(point.Y * Scale / depth + Centre)};
}

void CubeAnimation::Step() {
    const double c1 = cosine_[1];
    const double s1 = sine_[1];
    const double c5 = cosine_[5];
    const double s5 = sine_[5];
    for (std::size_t i = 0; i < points_.size(); ++i) {
        CubePoint& point = points_[i];
        const double y = c1 * point.Y - s1 * point.Z;
        const double zAfterX = s1 * point.Y + c1 * point.Z;
        const double x = c5 * point.X - s5 * zAfterX;
        const double z = s5 * point.X + c5 * zAfterX;
        point = {x, y, z};
        projected_[i] = Project(point);
    }
    picture_.Clear();
    for (const auto& [first, second] : Segments) {
        Line(Projected(first), Projected(second));
    }
}

void CubeAnimation::Line(PixelPoint from, PixelPoint to) {
    for (const PixelPoint& pixel : LinePixels(from, to)) {
        picture_.Set(pixel);
    }
}

} // namespace zelmox
