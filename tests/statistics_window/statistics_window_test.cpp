// "表示" → "統計" on the demo logbook: the charts show the demo's spring
// against the last twelve months or the marked rows, and are saved as
// pictures in the build folder.
#include "app/demo/demo_logbook.h"
#include "app/statistics_form.h"
#include "tests/entry_window/logbook_window.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class StatisticsWindowTest : public entrytest::LogbookWindowTest
{
protected:
    QString fillStore() override
    {
        DemoLogbook::create(store_, SKELVO_SOURCE_DIR "/commands");
        return DemoLogbook::TableName;
    }

    // Opens the window and runs the steps in it while it is shown.
    void whileShown(const std::function<void(QDialog&)>& steps)
    {
        inWindowOf("StatisticsAction", "StatisticsForm", steps);
    }

    static QChart* chart(QDialog& form, const char* name)
    {
        return form.findChild<QChartView*>(name)->chart();
    }
    template <class Series> static Series* series(QChart* chart)
    {
        for (QAbstractSeries* one : chart->series())
            if (auto* found = qobject_cast<Series*>(one))
                return found;
        return nullptr;
    }
    static QBarSet* bars(QChart* chart)
    {
        auto* series = StatisticsWindowTest::series<QAbstractBarSeries>(chart);
        return series && series->count() == 1 ? series->barSets().first() : nullptr;
    }
    static QStringList categories(QChart* chart, Qt::Orientation orientation)
    {
        for (QAbstractAxis* axis : chart->axes(orientation))
            if (auto* names = qobject_cast<QBarCategoryAxis*>(axis))
                return names->categories();
        return {};
    }
};

TEST_F(StatisticsWindowTest, ShowsTheDemoSpringInTheLastTwelveMonthsAndSavesEachChart)
{
    DemoLogbook::writeLimits(ini_);
    start();
    whileShown([&](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("統計"));
        EXPECT_EQ(form.findChild<QLabel*>("RangeLabel")->text(), "2025/05 〜 2026/04");
        EXPECT_FALSE(form.findChild<QRadioButton*>("MarkedRangeButton")->isEnabled());

        // Twelve months, the demo's six flights (400 minutes) all in April.
        QChart* months = chart(form, "MonthChart");
        const QStringList monthNames = categories(months, Qt::Horizontal);
        ASSERT_EQ(monthNames.size(), 12);
        EXPECT_EQ(monthNames.front(), "25/05");
        EXPECT_EQ(monthNames.back(), "26/04");
        QBarSet* time = bars(months);
        ASSERT_TRUE(time);
        ASSERT_EQ(time->count(), 12);
        EXPECT_DOUBLE_EQ(time->at(11), 400.0 / 60.0);
        EXPECT_EQ(time->at(10), 0.0);
        QLineSeries* flights = series<QLineSeries>(months);
        ASSERT_TRUE(flights);
        EXPECT_EQ(flights->at(11).y(), 6);
        EXPECT_EQ(flights->at(10).y(), 0);

        // Three pilots, the most time drawn on top (the axis runs upwards).
        QChart* crew = chart(form, "CrewChart");
        EXPECT_EQ(categories(crew, Qt::Vertical),
                  QStringList({"鈴木一郎", "佐藤花子", "山田太郎"}));
        ASSERT_TRUE(bars(crew));
        EXPECT_DOUBLE_EQ(bars(crew)->at(2), 255.0 / 60.0);
        EXPECT_GT(bars(crew)->at(2), bars(crew)->at(1));
        EXPECT_EQ(categories(chart(form, "PurposeChart"), Qt::Vertical).size(), 5);

        // The engine since overhaul at April's end, under its 1500-hour limit.
        QChart* engine = chart(form, "EngineChart");
        ASSERT_EQ(engine->series().size(), 2);
        auto* line = qobject_cast<QLineSeries*>(engine->series()[0]);
        auto* limit = qobject_cast<QLineSeries*>(engine->series()[1]);
        ASSERT_EQ(line->count(), 1);
        EXPECT_DOUBLE_EQ(line->at(0).y(), (120 * 60 + 40 + 400) / 60.0);
        EXPECT_EQ(limit->at(0).y(), 1500);

        // Each chart saved through the save button, as the user does it.
        auto* tabs = form.findChild<QTabWidget*>();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            const QString file = QStringLiteral(SKELVO_BINARY_DIR "/statistics_") +
                                 tabs->currentWidget()->objectName() + ".png";
            QFile::remove(file);
            UserInput::setFileTestHook([&](const UserInput::FileRequest&) { return file; });
            form.findChild<QPushButton*>("SaveChartButton")->click();
            const QImage picture(file);
            EXPECT_FALSE(picture.isNull()) << file.toStdString();
            EXPECT_GT(picture.width(), 400);
        }
        const QString pdf = QStringLiteral(SKELVO_BINARY_DIR "/statistics_MonthChart.pdf");
        tabs->setCurrentIndex(0);
        UserInput::setFileTestHook([&](const UserInput::FileRequest&) { return pdf; });
        form.findChild<QPushButton*>("SaveChartButton")->click();
        QFile written(pdf);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.read(5).startsWith("%PDF-"));
        UserInput::setFileTestHook({});

        // A file that cannot be written is said so, not taken as saved.
        auto* view = form.findChild<QChartView*>("MonthChart");
        for (const char* name : {"/no/such/folder/m.png", "/no/such/folder/m.pdf"})
            EXPECT_FALSE(TStatisticsForm::saveChart(*view, QString::fromLatin1(name))) << name;
    });
}

TEST_F(StatisticsWindowTest, TheMarkedRowsGiveTheirOwnMonths)
{
    start();
    // The opening row of 1 April and the two flights of 4 April.
    main().Part.PartStart = 1;
    main().Part.PartEnd = 3;
    whileShown([&](QDialog& form) {
        auto* marked = form.findChild<QRadioButton*>("MarkedRangeButton");
        ASSERT_TRUE(marked->isEnabled());
        marked->setChecked(true);
        EXPECT_EQ(form.findChild<QLabel*>("RangeLabel")->text(), "2026/04 〜 2026/04");
        QChart* months = chart(form, "MonthChart");
        ASSERT_TRUE(bars(months));
        ASSERT_EQ(bars(months)->count(), 1);
        EXPECT_DOUBLE_EQ(bars(months)->at(0), 95.0 / 60.0);
        EXPECT_EQ(series<QLineSeries>(months)->at(0).y(), 2);
        // Without a limit set, no limit line.
        EXPECT_EQ(chart(form, "EngineChart")->series().size(), 1);
    });
}

} // namespace
