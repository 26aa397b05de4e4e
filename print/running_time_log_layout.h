#pragma once

#include "print/log_layout.h"

// The engine log and the propeller log: one page of running times each, B5
// landscape with margins top 10, bottom 5, left 20, right 5 (bands 232 mm
// wide). The propeller's page is the engine's with heavier rules, a few
// shifted headings and its own columns.
namespace RunningTimeLogLayout {

inline constexpr double HeaderHeightMm = 32.8;
inline constexpr double DetailHeightMm = 6.6;
inline constexpr double FooterHeightMm = 0.5;

const LogLayout::Layout& engineLog();
const LogLayout::Layout& propellerLog();

} // namespace RunningTimeLogLayout
