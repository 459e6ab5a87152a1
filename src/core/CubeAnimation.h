#pragma once

#include <array>
#include <vector>

namespace zelmox {

struct CubePoint {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

struct PixelPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The nearest integer; a value halfway between two goes to the even one.
int RoundHalfToEven(double value);

// The pixels of a line from one end to the other, both ends included, in drawing order. One
// coordinate steps by one pixel every time (the one that changes most); the other follows when
// the running error says the line has drifted half a pixel away.
std::vector<PixelPoint> LinePixels(PixelPoint from, PixelPoint to);

// The picture of the animation area: a square of pixels, each set in the line colour or not.
class CubePicture {
public:
    static constexpr int Size = 105;

    void Clear() { pixels_.fill(false); }
    // A pixel outside the area is dropped.
    void Set(PixelPoint pixel);
    bool IsSet(int x, int y) const;
    int SetCount() const;

private:
    std::array<bool, Size * Size> pixels_{};
};

// The wireframe cube of the About box with two small figures inside it, turned a little about
// two axes at every step and seen in perspective. The attitude accumulates from step to step.
class CubeAnimation {
public:
    static constexpr int PointCount = 18;
    static constexpr int Centre = 53;
    static constexpr double ViewerDistance = 900;
    static constexpr double Scale = 256;

    CubeAnimation();

    // Turns every point by 1 degree about the x axis, then by 5 degrees about the y axis,
    // projects it and draws the picture anew.
    void Step();
    // Sets the pixels of one line into the picture.
    void Line(PixelPoint from, PixelPoint to);

    const CubePoint& Point(int index) const { return points_[static_cast<std::size_t>(index)]; }
    PixelPoint Projected(int index) const { return projected_[static_cast<std::size_t>(index)]; }
    const CubePicture& Picture() const { return picture_; }

    // The lines drawn, as pairs of point numbers, in drawing order: the cube's twelve edges, then
    // the segments of the two figures.
    static const std::array<std::array<int, 2>, 19> Segments;
    // Where the points start.
    static const std::array<CubePoint, PointCount> StartPoints;

private:
    PixelPoint Project(const CubePoint& point) const;

    std::array<double, 91> sine_{};
    std::array<double, 91> cosine_{};
    std::array<CubePoint, PointCount> points_{};
    std::array<PixelPoint, PointCount> projected_{};
    CubePicture picture_;
};

} // namespace zelmox
