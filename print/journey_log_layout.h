#pragma once

#include "print/log_layout.h"

// The journey log's bands: B5 landscape, 257 x 182 mm, margins top 10,
// bottom 10, left 20, right 10; the bands 227 mm wide.
namespace JourneyLogLayout {

inline constexpr double PaperWidthMm = 257;
inline constexpr double PaperLengthMm = 182;
inline constexpr double HeaderHeightMm = 32.8;
inline constexpr double DetailHeightMm = 6.6;
inline constexpr double FooterHeightMm = 29.6;

const LogLayout::Layout& layout();

} // namespace JourneyLogLayout
