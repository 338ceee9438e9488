#pragma once

// Page measures are twips, as in RTF: 1440 to the inch, 20 to the point, and
// 15 to a pixel on a 96-dpi screen, the size pictures and indents are kept at.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = kTwipsPerInch / 72;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / 96;
