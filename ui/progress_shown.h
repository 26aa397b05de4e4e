#pragma once

#include <QElapsedTimer>

class QProgressBar;

// How far a long operation has got, on a progress bar that shows while the
// operation runs. The windows keep painting meanwhile; what the user types
// or clicks waits until the operation ends.
class ProgressShown
{
public:
    explicit ProgressShown(QProgressBar* bar);
    ~ProgressShown();
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

    void operator()(int done, int total);

private:
    QProgressBar* bar_;
    QElapsedTimer sincePainted_;
};
