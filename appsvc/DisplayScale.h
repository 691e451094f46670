#pragma once

// Display scaling arithmetic. Designs are in 96-DPI units; fonts are in points (1/72 inch).

inline constexpr double DESIGN_DPI = 96.0;
inline constexpr double POINTS_PER_INCH = 72.0;

// The process-wide scale factor for a vertical resolution: dpiY / 96, never below 1.0.
double ScaleFromDpi(int dpiY);
// scale × value + 0.5 truncated toward zero, so positive halves round up. Results beyond the int range
// (and NaN) are clamped instead of being undefined.
int ScaleToDevice(double scale, int value);
// Font size in points to pixels at `logPixelsY`, not rounded; the sign of `points` is dropped.
double PointsToPixels(double points, int logPixelsY);
