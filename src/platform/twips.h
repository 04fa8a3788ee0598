#pragma once
// Geometry of the program is held in twips (1/1440 inch) as single-precision values.
// Pixels appear only inside the platform layer, derived from the screen's logical DPI.
#include <cstdint>

namespace glyvex::platform {

// Twips per device-independent pixel, horizontally and vertically (15 at 96 DPI).
float twipsPerPixelX();
float twipsPerPixelY();
int toPixelsX(float twips);
int toPixelsY(float twips);
float fromPixelsX(int px);
float fromPixelsY(int px);

// Nearest whole number, a half going to the even neighbour.
std::int32_t roundHalfEven(double value);

// Centring a window on the screen. The exact rule keeps half twips; the whole-twip rule
// rounds the difference half-to-even and halves it with the remainder dropped toward zero.
float centreExact(float screenSize, float windowSize);
float centreWholeTwip(float screenSize, float windowSize);

} // namespace glyvex::platform
