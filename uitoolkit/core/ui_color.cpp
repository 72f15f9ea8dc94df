#include "uitoolkit/core/ui_color.h"

#include <cmath>

namespace SkinUI {
namespace {

struct Hsl {
  double hue;         // degrees, 0 <= hue < 360
  double saturation;  // 0..1
  double lightness;   // 0..1
};

Hsl RgbToHsl(BYTE red, BYTE green, BYTE blue) {
  const double r = red / 255.0, g = green / 255.0, b = blue / 255.0;
  const double high = std::fmax(r, std::fmax(g, b));
  const double low = std::fmin(r, std::fmin(g, b));
  Hsl result{0.0, 0.0, (high + low) / 2.0};
  const double delta = high - low;
  if (delta <= 0.0) return result;
  result.saturation = result.lightness <= 0.5 ? delta / (high + low) : delta / (2.0 - high - low);
  double hue;
  if (high == r) {
    hue = (g - b) / delta;
  } else if (high == g) {
    hue = 2.0 + (b - r) / delta;
  } else {
    hue = 4.0 + (r - g) / delta;
  }
  hue *= 60.0;
  if (hue < 0.0) hue += 360.0;
  result.hue = hue;
  return result;
}

double HueToChannel(double p, double q, double t) {
  if (t < 0.0) t += 1.0;
  if (t > 1.0) t -= 1.0;
  if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
  return p;
}

BYTE ToByte(double channel) {
  const double scaled = std::floor(channel * 255.0 + 0.5);
  if (scaled <= 0.0) return 0;
  if (scaled >= 255.0) return 255;
  return static_cast<BYTE>(scaled);
}

double Clamp01(double value) { return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value); }

}  // namespace

DWORD PremultiplyArgb(DWORD argb) {
  const DWORD alpha = ColorAlpha(argb);
  if (alpha == 255) return argb;
  return MakeArgb(static_cast<BYTE>(alpha), static_cast<BYTE>(ColorRed(argb) * alpha / 255),
                  static_cast<BYTE>(ColorGreen(argb) * alpha / 255),
                  static_cast<BYTE>(ColorBlue(argb) * alpha / 255));
}

DWORD AdjustColor(DWORD argb, short hue, short saturation, short lightness) {
  if (hue == 180 && saturation == 100 && lightness == 100) return argb;
  Hsl hsl = RgbToHsl(ColorRed(argb), ColorGreen(argb), ColorBlue(argb));
  hsl.hue = std::fmod(hsl.hue + (hue - 180), 360.0);
  if (hsl.hue < 0.0) hsl.hue += 360.0;
  hsl.saturation = Clamp01(hsl.saturation * saturation / 100.0);
  hsl.lightness = Clamp01(hsl.lightness * lightness / 100.0);
  double red = hsl.lightness, green = hsl.lightness, blue = hsl.lightness;
  if (hsl.saturation > 0.0) {
    const double q = hsl.lightness < 0.5 ? hsl.lightness * (1.0 + hsl.saturation)
                                         : hsl.lightness + hsl.saturation -
                                               hsl.lightness * hsl.saturation;
    const double p = 2.0 * hsl.lightness - q;
    const double h = hsl.hue / 360.0;
    red = HueToChannel(p, q, h + 1.0 / 3.0);
    green = HueToChannel(p, q, h);
    blue = HueToChannel(p, q, h - 1.0 / 3.0);
  }
  return MakeArgb(ColorAlpha(argb), ToByte(red), ToByte(green), ToByte(blue));
}

}  // namespace SkinUI
