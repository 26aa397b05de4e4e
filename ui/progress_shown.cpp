#include "ui/progress_shown.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

namespace {

// Often enough to look alive, seldom enough to cost nothing next to the work.
constexpr qint64 PaintIntervalMs = 50;

} // namespace

ProgressShown::ProgressShown(QProgressBar* bar) : bar_(bar)
{
    bar_->setValue(0);
    bar_->show();
    sincePainted_.start();
}

ProgressShown::~ProgressShown()
{
    bar_->hide();
}

void ProgressShown::operator()(int done, int total)
{
    bar_->setMaximum(std::max(total, 1));
    bar_->setValue(done);
    if (sincePainted_.elapsed() < PaintIntervalMs && done < total)
        return;
    sincePainted_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
