#pragma once

#include <functional>

// What a long transfer reports while it runs: how many steps there are,
// then each step done (1, 2, ...). Either may be left empty.
struct TransferProgress
{
    std::function<void(int steps)> start;
    std::function<void(int done)> step;

    void begin(int steps) const
    {
        if (start)
            start(steps);
    }
    void done(int count) const
    {
        if (step)
            step(count);
    }
};
