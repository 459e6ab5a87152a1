#include "CubeAnimation.h"

#include <gtest/gtest.h>
#include <vector>

namespace zelmox {
namespace {

TEST(CubeAnimationTest, RoundsHalvesToTheEvenInteger) {
    const std::vector<std::pair<double, int>> cases = {
        {0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},  {-1.5, -2},
        {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {53.0, 53}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfToEven(value), rounded) << value;
    }
}

TEST(CubeAnimationTest, LinesSetTheirPixelsStepByStep) {
    struct Case {
        PixelPoint from, to;
        std::vector<PixelPoint> pixels;
    };
    std::vector<PixelPoint> horizontal;
    for (int x = 3; x <= 13; ++x) {
        horizontal.push_back({x, 7});
    }
    const std::vector<Case> cases = {
        {{4, 4}, {4, 4}, {{4, 4}}},
        {{3, 7}, {13, 7}, horizontal},
        // Steep: y steps every time, x follows when the error says so.
        {{0, 0}, {2, 5}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        // Leftwards and upwards.
        {{5, 5}, {0, 3}, {{5, 5}, {4, 5}, {3, 4}, {2, 4}, {1, 3}, {0, 3}}},
        // A diagonal takes the diagonal step every time.
        {{0, 3}, {3, 0}, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinePixels(c.from, c.to), c.pixels) << c.from.X << "," << c.from.Y;
    }
}

TEST(CubeAnimationTest, FirstStepTurnsAboutXThenYAndProjects) {
    CubeAnimation cube;
    cube.Step();
    const CubePoint& point = cube.Point(0);
    EXPECT_NEAR(point.X, -90.75311521400808, 1e-9);
    EXPECT_NEAR(point.Y, -98.23952887191078, 1e-9);
    EXPECT_NEAR(point.Z, -110.05847103234711, 1e-9);
    EXPECT_EQ(cube.Projected(0), (PixelPoint{24, 21}));

    // Every line is drawn end to end; outside the cube nothing is.
    for (const auto& [first, second] : CubeAnimation::Segments) {
        for (const PixelPoint end : {cube.Projected(first), cube.Projected(second)}) {
            EXPECT_TRUE(cube.Picture().IsSet(end.X, end.Y)) << first << "-" << second;
        }
    }
    EXPECT_FALSE(cube.Picture().IsSet(0, 0));
    EXPECT_FALSE(cube.Picture().IsSet(104, 104));
}

} // namespace
} // namespace zelmox
