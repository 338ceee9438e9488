#pragma once

// Page measures are twips, as in RTF: 1440 to the inch.
inline constexpr int kTwipsPerInch = 1440;
