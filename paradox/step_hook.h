#pragma once

#include "paradox/paradox_table.h"

namespace paradox::codec {

// Tells the test hook that a write reached a step (see Table::setStepHook).
void reachStep(const char* step);

void installStepHook(Table::StepHook hook);

// Tells the test hook that a file was made durable (see Table::setSyncHook).
void reachSync(const QString& path);

void installSyncHook(Table::SyncHook hook);

} // namespace paradox::codec
