#include "appsvc/DisplayScale.h"

#include <algorithm>
#include <climits>
#include <cmath>

double ScaleFromDpi(int dpiY) {
    return std::max(1.0, dpiY / DESIGN_DPI);
}

int ScaleToDevice(double scale, int value) {
    double device = scale * value + 0.5;
    if (std::isnan(device)) {
        return 0;
    }
    // Converting a double outside the int range is undefined; such sizes clamp to the nearest limit.
    if (device >= static_cast<double>(INT_MAX) + 1.0) {
        return INT_MAX;
    }
    if (device <= static_cast<double>(INT_MIN) - 1.0) {
        return INT_MIN;
    }
    return static_cast<int>(device);
}

double PointsToPixels(double points, int logPixelsY) {
    return logPixelsY * std::fabs(points) / POINTS_PER_INCH;
}
