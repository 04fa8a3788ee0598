#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace glyvex::platform {

namespace {
float twipsPerPixel(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96.0;
    return static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
}
} // namespace

float twipsPerPixelX() { return twipsPerPixel(true); }
float twipsPerPixelY() { return twipsPerPixel(false); }
int toPixelsX(float twips) { return static_cast<int>(std::lround(twips / twipsPerPixelX())); }
int toPixelsY(float twips) { return static_cast<int>(std::lround(twips / twipsPerPixelY())); }
float fromPixelsX(int px) { return static_cast<float>(px) * twipsPerPixelX(); }
float fromPixelsY(int px) { return static_cast<float>(px) * twipsPerPixelY(); }

std::int32_t roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    return static_cast<std::int32_t>(result);
}

float centreExact(float screenSize, float windowSize) { return (screenSize - windowSize) / 2.0f; }

float centreWholeTwip(float screenSize, float windowSize)
{
    const std::int32_t whole = roundHalfEven(static_cast<double>(screenSize - windowSize));
    return static_cast<float>(whole / 2); // integer division truncates toward zero
}

} // namespace glyvex::platform
