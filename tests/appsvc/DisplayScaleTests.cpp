#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "appsvc/DisplayScale.h"

TEST(DisplayScale, ScaleFollowsDpiButNeverFallsBelowOne) {
    const struct {
        int dpi;
        double expected;
    } rows[] = {
        {96, 1.0}, {120, 1.25}, {144, 1.5}, {192, 2.0}, {288, 3.0},
        {72, 1.0}, {95, 1.0},   {0, 1.0},   {-96, 1.0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScaleFromDpi(row.dpi), row.expected) << row.dpi;
    }
}

TEST(DisplayScale, ScaleToDeviceRoundsHalvesUp) {
    const struct {
        double scale;
        int value;
        int expected;
    } rows[] = {
        {1.25, 37, 46},
        {1.25, 633, 791},
        {1.25, 267, 334},
        {1.5, 633, 950},
        {1.5, 267, 401},
        {1.5, 2, 3},
        {1.5, 82, 123},
        {1.5, 541, 812},
        {1.5, 32, 48},
        {1.0, 633, 633},
        {1.0, 1, 1},
        {2.0, 0, 0},
        {1.75, 0, 0},
        {1.25, 2, 3},
        {1.25, 6, 8},
        // Truncation toward zero: negative values do not round symmetrically.
        {1.5, -1, -1},
        {1.5, -3, -4},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScaleToDevice(row.scale, row.value), row.expected) << row.scale << " x " << row.value;
    }
}

TEST(DisplayScale, ScaleToDeviceClampsResultsBeyondTheIntRange) {
    EXPECT_EQ(ScaleToDevice(3.0, INT_MAX), INT_MAX);
    EXPECT_EQ(ScaleToDevice(3.0, INT_MIN), INT_MIN);
    EXPECT_EQ(ScaleToDevice(1.0, INT_MAX), INT_MAX);
    EXPECT_EQ(ScaleToDevice(std::numeric_limits<double>::quiet_NaN(), 10), 0);
    EXPECT_EQ(ScaleToDevice(std::numeric_limits<double>::infinity(), 10), INT_MAX);
}

TEST(DisplayScale, PointsToPixelsUsesTheVerticalResolution) {
    const struct {
        double points;
        int logPixelsY;
        double expected;
    } rows[] = {
        {72.0, 96, 96.0},  {9.0, 96, 12.0}, {-9.0, 96, 12.0}, {11.0, 120, 18.333333333333332},
        {12.0, 144, 24.0}, {0.0, 96, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(PointsToPixels(row.points, row.logPixelsY), row.expected) << row.points;
    }
    // 11 points at 96 DPI is 14.67 pixels, which the font code rounds to 15.
    EXPECT_EQ(static_cast<int>(PointsToPixels(11.0, 96) + 0.5), 15);
}
