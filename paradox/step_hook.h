#pragma once

#include "paradox/paradox_table.h"

namespace paradox::codec {

// Tells the test hook that a write reached a step (see Table::setStepHook).
void reachStep(const char* step);

void installStepHook(Table::StepHook hook);

} // namespace paradox::codec
