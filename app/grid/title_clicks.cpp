#include "app/grid/title_clicks.h"

#include <QApplication>

TitleClicks::TitleClicks(QObject* parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { emit clicked(column_); });
}

void TitleClicks::buttonMessage()
{
    if (!timer_.isActive()) {
        swallowClick_ = false;
        return;
    }
    timer_.stop();
    swallowClick_ = true;
    emit doubleClicked(column_);
}

void TitleClicks::sectionClicked(int column)
{
    if (swallowClick_) {
        swallowClick_ = false;
        return;
    }
    column_ = column;
    timer_.start(QApplication::doubleClickInterval());
}
