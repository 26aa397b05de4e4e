// The statistics window, and how the main window opens it over the open
// table.
#include "app/statistics_form.h"

#include "app/skelvo_main_form.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "maintenance/maintenance_settings.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

double hours(qint64 minutes)
{
    return double(minutes) / 60.0;
}

QString monthText(const QDate& month)
{
    return QStringLiteral("%1/%2").arg(month.year()).arg(month.month(), 2, 10, QChar('0'));
}

QValueAxis* valueAxis(const QString& title, double top)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(0, std::max(1.0, top * 1.1));
    // Round ticks, so that whole-number labels fall on their lines.
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

QChart* monthChart(const Statistics::Figures& figures)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("月別の飛行時間と飛行回数"));
    auto* time = new QBarSet(QStringLiteral("飛行時間(時間)"));
    auto* flights = new QLineSeries;
    flights->setName(QStringLiteral("飛行回数"));
    flights->setPointsVisible(true);
    QStringList months;
    double topHours = 0, topFlights = 0;
    for (const Statistics::MonthFigures& month : figures.months) {
        time->append(hours(month.minutes));
        // Each flight count sits over its month's bar.
        flights->append(double(months.size()), month.flights);
        // Two-digit years: twelve full dates do not fit under the bars.
        months.append(month.month.toString(QStringLiteral("yy/MM")));
        topHours = std::max(topHours, hours(month.minutes));
        topFlights = std::max(topFlights, double(month.flights));
    }
    auto* bars = new QBarSeries;
    bars->append(time);
    chart->addSeries(bars);
    chart->addSeries(flights);
    auto* axisX = new QBarCategoryAxis;
    axisX->append(months);
    chart->addAxis(axisX, Qt::AlignBottom);
    QValueAxis* axisHours = valueAxis(QStringLiteral("時間"), topHours);
    chart->addAxis(axisHours, Qt::AlignLeft);
    QValueAxis* axisFlights = valueAxis(QStringLiteral("回"), topFlights);
    chart->addAxis(axisFlights, Qt::AlignRight);
    bars->attachAxis(axisX);
    bars->attachAxis(axisHours);
    flights->attachAxis(axisX);
    flights->attachAxis(axisFlights);
    return chart;
}

QChart* shareChart(const QString& title, const std::vector<Statistics::Share>& shares)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    auto* time = new QBarSet(QStringLiteral("飛行時間(時間)"));
    QStringList names;
    double top = 0;
    // The axis runs upwards: the most time last, so that it is drawn on top.
    for (auto share = shares.rbegin(); share != shares.rend(); ++share) {
        time->append(hours(share->minutes));
        names.append(share->name);
        top = std::max(top, hours(share->minutes));
    }
    auto* bars = new QHorizontalBarSeries;
    bars->append(time);
    chart->addSeries(bars);
    auto* axisNames = new QBarCategoryAxis;
    axisNames->append(names);
    chart->addAxis(axisNames, Qt::AlignLeft);
    QValueAxis* axisHours = valueAxis(QStringLiteral("時間"), top);
    chart->addAxis(axisHours, Qt::AlignBottom);
    bars->attachAxis(axisNames);
    bars->attachAxis(axisHours);
    chart->legend()->hide();
    return chart;
}

QChart* engineChart(const Statistics::Figures& figures, int limitHours)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("エンジンのオーバーホール後時間"));
    auto* sinceOverhaul = new QLineSeries;
    sinceOverhaul->setName(QStringLiteral("ＯＨ後時間(各月末)"));
    sinceOverhaul->setPointsVisible(true);
    double top = limitHours;
    for (const Statistics::EnginePoint& point : figures.engine) {
        // Drawn where the month ends, which is what the total counts to.
        sinceOverhaul->append(double(point.month.addMonths(1).startOfDay().toMSecsSinceEpoch()),
                              hours(point.minutes));
        top = std::max(top, hours(point.minutes));
    }
    chart->addSeries(sinceOverhaul);
    auto* axisMonths = new QDateTimeAxis;
    axisMonths->setFormat(QStringLiteral("yyyy/MM"));
    if (figures.range.isValid())
        axisMonths->setRange(figures.range.first.startOfDay(),
                             figures.range.last.addMonths(1).startOfDay());
    chart->addAxis(axisMonths, Qt::AlignBottom);
    QValueAxis* axisHours = valueAxis(QStringLiteral("時間"), top);
    chart->addAxis(axisHours, Qt::AlignLeft);
    sinceOverhaul->attachAxis(axisMonths);
    sinceOverhaul->attachAxis(axisHours);
    if (limitHours > 0 && figures.range.isValid()) {
        auto* limit = new QLineSeries;
        limit->setName(QStringLiteral("オーバーホール時限 %1時間").arg(limitHours));
        limit->setPen(QPen(QColor(0xc0, 0, 0), 2, Qt::DashLine));
        limit->append(double(axisMonths->min().toMSecsSinceEpoch()), limitHours);
        limit->append(double(axisMonths->max().toMSecsSinceEpoch()), limitHours);
        chart->addSeries(limit);
        limit->attachAxis(axisMonths);
        limit->attachAxis(axisHours);
    }
    return chart;
}

} // namespace

TStatisticsForm::TStatisticsForm(std::vector<Statistics::RowFields> rows, Marked marked,
                                 int engineLimitHours, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), marked_(marked), engineLimitHours_(engineLimitHours)
{
    if (marked_.first >= rows_.size() || marked_.count > rows_.size() - marked_.first)
        marked_ = {};
    setObjectName(QStringLiteral("StatisticsForm"));
    setWindowTitle(QStringLiteral("統計"));
    resize(820, 560);
    auto* layout = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    lastTwelve_ = new QRadioButton(QStringLiteral("最近の12か月"), this);
    lastTwelve_->setObjectName(QStringLiteral("LastTwelveMonthsButton"));
    lastTwelve_->setChecked(true);
    markedRange_ = new QRadioButton(QStringLiteral("指定範囲"), this);
    markedRange_->setObjectName(QStringLiteral("MarkedRangeButton"));
    markedRange_->setEnabled(marked_.count > 0);
    markedRange_->setToolTip(QStringLiteral("グリッドで部分計算の範囲を指定した行の月"));
    rangeLabel_ = new QLabel(this);
    rangeLabel_->setObjectName(QStringLiteral("RangeLabel"));
    choice->addWidget(lastTwelve_);
    choice->addWidget(markedRange_);
    choice->addWidget(rangeLabel_, 1);
    layout->addLayout(choice);

    tabs_ = new QTabWidget(this);
    const char* const names[] = {"MonthChart", "CrewChart", "PurposeChart", "EngineChart"};
    const char* const titles[] = {"月別", "乗員別", "目的別", "エンジン"};
    for (int i = 0; i < 4; ++i) {
        charts_[i] = new QChartView(tabs_);
        charts_[i]->setObjectName(QString::fromLatin1(names[i]));
        charts_[i]->setRenderHint(QPainter::Antialiasing);
        tabs_->addTab(charts_[i], QString::fromUtf8(titles[i]));
    }
    layout->addWidget(tabs_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* save =
        buttons->addButton(QStringLiteral("グラフを保存..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SaveChartButton"));
    connect(save, &QPushButton::clicked, this, &TStatisticsForm::saveCurrentChart);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(lastTwelve_, &QRadioButton::toggled, this, &TStatisticsForm::showFigures);
    showFigures();
}

void TStatisticsForm::showFigures()
{
    const bool marked = markedRange_->isChecked();
    std::span<const Statistics::RowFields> rows = rows_;
    if (marked)
        rows = rows.subspan(marked_.first, marked_.count);
    const Statistics::MonthRange range =
        marked ? Statistics::monthsSpanned(rows) : Statistics::lastTwelveMonths(rows);
    const Statistics::Figures figures = Statistics::compute(rows, range);

    QString text =
        range.isValid()
            ? QStringLiteral("%1 〜 %2").arg(monthText(range.first), monthText(range.last))
            : QStringLiteral("日付の読める行がありません");
    if (figures.skippedRows > 0)
        text += QStringLiteral("  (日付のない行・ありえない日付の行 %1 行は数えていません)")
                    .arg(figures.skippedRows);
    if (figures.unreadableTimes > 0)
        text += QStringLiteral("  (読めない飛行時間 %1 行)").arg(figures.unreadableTimes);
    rangeLabel_->setText(text);

    QChart* made[] = {monthChart(figures),
                      shareChart(QStringLiteral("乗員別の飛行時間"), figures.crew),
                      shareChart(QStringLiteral("目的別の飛行時間"), figures.purposes),
                      engineChart(figures, engineLimitHours_)};
    for (int i = 0; i < 4; ++i) {
        QChart* old = charts_[i]->chart();
        charts_[i]->setChart(made[i]);
        delete old;
    }
}

bool TStatisticsForm::saveChart(QChartView& chart, const QString& fileName)
{
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        return chart.grab().save(fileName, "PNG");
    QPdfWriter writer(fileName);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setTitle(chart.chart()->title());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    chart.render(&painter);
    return painter.end();
}

void TStatisticsForm::saveCurrentChart()
{
    auto* chart = qobject_cast<QChartView*>(tabs_->currentWidget());
    const QString fileName = UserInput::chooseFile(
        this, {true, QStringLiteral("グラフの保存"), chart->objectName() + QStringLiteral(".png"),
               QStringLiteral("PNG画像 (*.png);;PDF (*.pdf)"), QStringLiteral("png")});
    if (fileName.isEmpty())
        return;
    if (!saveChart(*chart, fileName))
        MessageBox::warn(this, QStringLiteral("%1 に保存できませんでした。").arg(fileName));
}

void TSkelvoMainForm::StatisticsActionExecute()
{
    const DataSet* dataSet = openDataSet();
    if (!dataSet) {
        MessageBox::warn(this, QStringLiteral("テーブルが開かれていません。"));
        return;
    }
    std::vector<Statistics::RowFields> rows;
    const auto field = [&](QStringView name) { return dataSet->fieldIndex(name); };
    const int fields[] = {field(u"yyyy"),      field(u"mmdd"),       field(u"crew"),
                          field(u"intention"), field(u"flighttime"), field(u"e_sinceov")};
    rows.reserve(size_t(dataSet->recordCount()));
    for (int row = 0; row < dataSet->recordCount(); ++row) {
        // Read in place: the current row stays where it is.
        const auto text = [&](int index) {
            if (index < 0)
                return QString();
            const QVariant& value = dataSet->valueAt(row, index);
            return value.isNull() ? QString() : value.toString();
        };
        rows.push_back({text(fields[0]), text(fields[1]), text(fields[2]), text(fields[3]),
                        text(fields[4]), text(fields[5])});
    }
    // The marked rows, as the range sums count them: to the last row while
    // only the start is set.
    TStatisticsForm::Marked marked;
    const int count = int(rows.size());
    if (Part.PartStart > 0 && Part.PartStart <= count) {
        const int end = Part.PartEnd > 0 ? std::min(Part.PartEnd, count) : count;
        if (end >= Part.PartStart)
            marked = {size_t(Part.PartStart - 1), size_t(end - Part.PartStart + 1)};
    }
    const int limit = Maintenance::readLimits(IniFileName, store().TableName).engineHours;
    TStatisticsForm form(std::move(rows), marked, limit, this);
    form.exec();
}
