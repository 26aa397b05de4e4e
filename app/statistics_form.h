#pragma once

#include "statistics/flight_figures.h"

#include <QDialog>
#include <vector>

class QChartView;
class QLabel;
class QRadioButton;
class QTabWidget;

// The flying at a glance for one aircraft: flight time and flights per
// month, time per crew member and per purpose, and the engine's time since
// overhaul against its limit. It shows the table's last twelve months or,
// when rows are marked in the grid, those rows' months; each chart can be
// saved as a picture or a PDF.
class TStatisticsForm : public QDialog
{
    Q_OBJECT

public:
    // The rows of the marked range among the table's rows; none when
    // nothing is marked.
    struct Marked
    {
        size_t first = 0;
        size_t count = 0;
    };
    // engineLimitHours: the overhaul limit, 0 when none is set.
    TStatisticsForm(std::vector<Statistics::RowFields> rows, Marked marked, int engineLimitHours,
                    QWidget* parent = nullptr);

    // Writes the chart as PNG, or as PDF when the name ends in ".pdf".
    // False, with nothing claimed, when the file could not be written.
    static bool saveChart(QChartView& chart, const QString& fileName);

private:
    void showFigures();
    void saveCurrentChart();

    std::vector<Statistics::RowFields> rows_;
    Marked marked_;
    int engineLimitHours_ = 0;
    QRadioButton* lastTwelve_ = nullptr;
    QRadioButton* markedRange_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QChartView* charts_[4] = {};
};
