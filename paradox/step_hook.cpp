#include "paradox/step_hook.h"

namespace paradox::codec {
namespace {

Table::StepHook& stepHook()
{
    static Table::StepHook hook;
    return hook;
}

Table::SyncHook& syncHook()
{
    static Table::SyncHook hook;
    return hook;
}

} // namespace

void reachStep(const char* step)
{
    if (stepHook())
        stepHook()(step);
}

void installStepHook(Table::StepHook hook)
{
    stepHook() = std::move(hook);
}

void reachSync(const QString& path)
{
    if (syncHook())
        syncHook()(path);
}

void installSyncHook(Table::SyncHook hook)
{
    syncHook() = std::move(hook);
}

} // namespace paradox::codec
