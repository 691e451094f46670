#include <gtest/gtest.h>

#include "appsvc/Win32Api.h"

#include "appsvc/CVolAppInstance.h"
#include "appsvc/DisplayMetrics.h"
#include "appsvc/DisplayScale.h"

namespace {

int DesktopLogPixelsY() {
    HDC dc = GetDC(GetDesktopWindow());
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(GetDesktopWindow(), dc);
    return dpi;
}

// Restores the instance's scale after a test changed it.
class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = GetAppInstance().GetScale(); }
    void TearDown() override { GetAppInstance().SetScale(saved_); }

private:
    double saved_ = 1.0;
};

}  // namespace

TEST_F(ScaleTest, WithoutTheShellLibraryTheScaleComesFromTheDesktopContext) {
    GetAppInstance().SetScale(3.0);
    const double scale = ComputeDisplayScale(u"morvane-no-such-library.dll");
    EXPECT_EQ(scale, ScaleFromDpi(DesktopLogPixelsY()));
    EXPECT_EQ(GetAppInstance().GetScale(), scale);
}

TEST_F(ScaleTest, StartUpComputationStoresAScaleOfAtLeastOne) {
    GetAppInstance().SetScale(3.0);
    const double scale = ComputeDisplayScale();
    EXPECT_GE(scale, 1.0);
    EXPECT_EQ(GetAppInstance().GetScale(), scale);
}

TEST_F(ScaleTest, DesignedValuesScaleByTheInstanceScale) {
    const struct {
        double scale;
        int designed;
        int device;
    } cases[] = {
        {1.25, 37, 46},  {1.25, 633, 791}, {1.25, 267, 334}, {1.25, 0, 0},
        {1.0, 633, 633}, {1.0, 1, 1},      {1.5, 0, 0},      {1.5, 3, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " x " << c.designed);
        GetAppInstance().SetScale(c.scale);
        EXPECT_EQ(ScaleToDevice(c.designed), c.device);
    }
}

TEST(GetMonitorRect, NullWindowGivesThePrimaryScreen) {
    const RECT rect = GetMonitorRect(nullptr);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
}
