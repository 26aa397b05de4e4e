// The "印刷" menu of the main window on the demo logbook, against the
// private print scheduler: the printer set-up, and the journey log previewed,
// printed and saved as PDF the way a user does it.
#include "app/demo/demo_logbook.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "report/preview_window.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/print_output.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class PrintLaunchTest : public entrytest::LogbookWindowTest
{
protected:
    QString fillStore() override
    {
        DemoLogbook::create(store_, SKELVO_SOURCE_DIR "/commands");
        return DemoLogbook::TableName;
    }

    // Triggers a main-window action; steps run on the modal window it
    // opens, which is closed afterwards if still open.
    template <class Window>
    Window* triggerWithModal(const char* action, const std::function<void(Window&)>& steps)
    {
        Window* seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (!seen)
                return;
            steps(*seen);
            if (seen->isVisible())
                seen->reject();
        });
        main().findChild<QAction*>(action)->trigger();
        return seen;
    }

    QString printerSetting(const char* key)
    {
        return MyutyFiles::IniReadString(ini_, "Printer", key, "(none)");
    }
};

TEST_F(PrintLaunchTest, PrinterSetupStoresTheChoiceOnlyWhenConfirmed)
{
    start();
    EXPECT_TRUE(triggerWithModal<QPrintDialog>("PrinterSettingAction", [](QPrintDialog&) {}));
    EXPECT_EQ(printerSetting("Name"), "(none)");

    // Confirmed as it opened: the stored (first-run) paper on the default
    // printer.
    const auto accept = [](QPrintDialog& dialog) { dialog.accept(); };
    EXPECT_TRUE(triggerWithModal<QPrintDialog>("PrinterSettingAction", accept));
    EXPECT_EQ(printerSetting("Name"), "Skelvo_Office");
    EXPECT_EQ(printerSetting("Size"), "13");
    EXPECT_EQ(printerSetting("orientation"), "2");
    EXPECT_EQ(printerSetting("Bin"), "7");

    // Another printer chosen without opening its paper settings keeps the
    // stored paper (the dialog itself would put the printer's A4 in place).
    EXPECT_TRUE(triggerWithModal<QPrintDialog>("PrinterSettingAction", [](QPrintDialog& dialog) {
        for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
            const int hangar = box->findText("Skelvo_Hangar");
            if (hangar >= 0)
                box->setCurrentIndex(hangar);
        }
        dialog.accept();
    }));
    EXPECT_EQ(printerSetting("Name"), "Skelvo_Hangar");
    EXPECT_EQ(printerSetting("Size"), "13");
    EXPECT_EQ(main().PrinterName, "Skelvo_Hangar");

    // Paper settings seen and confirmed: what they showed is stored.
    EXPECT_TRUE(triggerWithModal<QPrintDialog>("PrinterSettingAction", [](QPrintDialog& dialog) {
        QTimer::singleShot(0, [] {
            auto* page = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* size = page->findChild<QComboBox*>("pageSizeCombo");
            size->setCurrentIndex(size->findText("Letter"));
            page->accept();
        });
        dialog.findChild<QPushButton*>("properties")->click();
        dialog.accept();
    }));
    EXPECT_EQ(printerSetting("Size"), "1");
    EXPECT_EQ(main().PrinterPaperSize, 1);
}

// The set-up's paper settings open on the held paper and orientation, not on
// the printer's own default (A4), and seeing and confirming them unchanged
// keeps the choice.
TEST_F(PrintLaunchTest, PrinterSetupShowsTheHeldPaperAndKeepsItWhenConfirmed)
{
    const struct
    {
        int size, orientation, bin;
        const char* shownSize;
        const char* shownOrientation;
    } cases[] = {
        {13, 2, 7, "B5 (JIS)", "landscape"}, // first run
        {1, 1, 2, "Letter", "portrait"},
    };
    start();
    for (const auto& held : cases) {
        SCOPED_TRACE(held.shownSize);
        main().PrinterPaperSize = held.size;
        main().PrinterOrientation = held.orientation;
        main().PrinterBin = held.bin;
        QString confirm, size;
        bool orientationShown = false;
        EXPECT_TRUE(
            triggerWithModal<QPrintDialog>("PrinterSettingAction", [&](QPrintDialog& dialog) {
                confirm =
                    dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)
                        ->button(QDialogButtonBox::Ok)
                        ->text();
                QTimer::singleShot(0, [&] {
                    auto* page = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    size = page->findChild<QComboBox*>("pageSizeCombo")->currentText();
                    orientationShown =
                        page->findChild<QRadioButton*>(held.shownOrientation)->isChecked();
                    page->accept();
                });
                dialog.findChild<QPushButton*>("properties")->click();
                dialog.accept();
            }));
        EXPECT_EQ(confirm, "OK");
        EXPECT_EQ(size, held.shownSize);
        EXPECT_TRUE(orientationShown);
        EXPECT_EQ(printerSetting("Size"), QString::number(held.size));
        EXPECT_EQ(printerSetting("orientation"), QString::number(held.orientation));
        EXPECT_EQ(printerSetting("Bin"), QString::number(held.bin));
    }
}

TEST_F(PrintLaunchTest, WithoutAnOpenTableThereIsAMessageAndNoPreview)
{
    start();
    main().findChild<QAction*>("TableCloseAction")->trigger();
    MessageBox::takeRecorded();

    EXPECT_FALSE(triggerWithModal<TReportPreview>("SkelvoPrintAction", [](TReportPreview&) {}));
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "テーブルが開いていません。");
}

// Each log of the demo logbook previewed, printed and saved; the PDF and a
// PNG of its page 1 are kept in the build folder (journey_log.pdf and .png,
// and so on) to be looked at.
TEST_F(PrintLaunchTest, EachLogIsPreviewedPrintedAndSavedWithTheGridStandingStill)
{
    const struct
    {
        const char* action;
        const char* file;
        std::vector<const char*> shown; // texts the page must carry
    } logs[] = {
        {"SkelvoPrintAction", "journey_log", {"飛", "JA2401", "山田太郎", "定期点検後試験"}},
        {"EngineLogPrintAction", "engine_log", {"エンジン使用記録", "JA2401", "852:10"}},
        {"PropellerLogPrintAction", "propeller_log", {"プロペラ使用記録", "JA2401", "100時間点検"}},
    };
    start();
    for (const auto& log : logs) {
        SCOPED_TRACE(log.action);
        rows().setRecNo(3);
        const QString file = QStringLiteral(SKELVO_BINARY_DIR "/") + log.file;
        QFile::remove(file + ".pdf");
        TReportPreview::setSaveFileChooser([&](QWidget*, const QString&) { return file; });
        const QStringList jobsBefore = testsupport::keptJobs("Skelvo_Office");

        bool gridStill = false;
        EXPECT_TRUE(triggerWithModal<TReportPreview>(log.action, [&](TReportPreview& preview) {
            gridStill = rows().controlsDisabled();
            EXPECT_EQ(preview.model().pages.size(), 1);
            preview.findChild<QPushButton*>("PdfButton")->click();
            preview.findChild<QPushButton*>("PrintButton")->click();
        }));
        TReportPreview::setSaveFileChooser({});
        EXPECT_TRUE(gridStill);
        EXPECT_FALSE(rows().controlsDisabled());
        EXPECT_EQ(rows().recNo(), 3);

        // B5 landscape with the table's own texts, Japanese intact.
        const QString pdf = file + ".pdf";
        EXPECT_EQ(testsupport::pdfPageCount(pdf), 1);
        const QSizeF paper = testsupport::pdfPageSizeMm(pdf);
        EXPECT_NEAR(paper.width(), 257, 0.5);
        EXPECT_NEAR(paper.height(), 182, 0.5);
        const QString texts = testsupport::runTool("pdftotext", {pdf, "-"});
        for (const char* shown : log.shown)
            EXPECT_TRUE(texts.contains(QString::fromUtf8(shown))) << shown;
        testsupport::runTool("pdftoppm", {"-png", "-r", "100", "-singlefile", pdf, file});

        const QString job = testsupport::waitForNewJob("Skelvo_Office", jobsBefore);
        ASSERT_FALSE(job.isEmpty()) << "no job kept within 30 s";
        EXPECT_EQ(testsupport::pdfPageCount(job), 1);
        EXPECT_NEAR(testsupport::pdfPageSizeMm(job).width(), 257, 0.5);
    }
}

// On A4 each log keeps its PDF and a PNG of page 1 in the build folder
// (journey_log_a4.pdf and .png, and so on) to be looked at.
TEST_F(PrintLaunchTest, AStoredA4PaperGivesA4PagesOnTheStoredPrinter)
{
    setting("Printer", "Name", "skelvo_hangar");
    setting("Printer", "Size", "9");
    start();
    for (const char* log : {"journey_log", "engine_log", "propeller_log"}) {
        SCOPED_TRACE(log);
        const QString file = QStringLiteral(SKELVO_BINARY_DIR "/%1_a4").arg(log);
        const char* action = QByteArray(log) == "journey_log"  ? "SkelvoPrintAction"
                             : QByteArray(log) == "engine_log" ? "EngineLogPrintAction"
                                                               : "PropellerLogPrintAction";
        const QStringList jobsBefore = testsupport::keptJobs("Skelvo_Hangar");
        TReportPreview::setSaveFileChooser([&](QWidget*, const QString&) { return file; });
        EXPECT_TRUE(triggerWithModal<TReportPreview>(action, [](TReportPreview& preview) {
            EXPECT_EQ(preview.model().paperMm, QSizeF(297, 210));
            preview.findChild<QPushButton*>("PdfButton")->click();
            preview.findChild<QPushButton*>("PrintButton")->click();
        }));
        TReportPreview::setSaveFileChooser({});
        testsupport::runTool("pdftoppm", {"-png", "-r", "100", "-singlefile", file + ".pdf", file});
        const QString job = testsupport::waitForNewJob("Skelvo_Hangar", jobsBefore);
        ASSERT_FALSE(job.isEmpty()) << "no job kept within 30 s";
        for (const QString& pdf : {file + ".pdf", job}) {
            const QSizeF paper = testsupport::pdfPageSizeMm(pdf);
            EXPECT_NEAR(paper.width(), 297, 0.5);
            EXPECT_NEAR(paper.height(), 210, 0.5);
        }
    }
}

// The job asks the queue for the stored tray; a code without a tray of its
// own asks for the automatic one rather than keep the last job's.
TEST_F(PrintLaunchTest, TheJobAsksForTheStoredTray)
{
    const struct
    {
        int bin;
        const char* option;
    } cases[] = {{1, "InputSlot=Upper"}, {256, "InputSlot=Auto"}, {4, "InputSlot=Manual"}};
    start();
    for (const auto& tray : cases) {
        SCOPED_TRACE(tray.bin);
        main().PrinterBin = tray.bin;
        const QStringList jobsBefore = testsupport::keptJobs("Skelvo_Office");
        EXPECT_TRUE(
            triggerWithModal<TReportPreview>("SkelvoPrintAction", [](TReportPreview& preview) {
                preview.findChild<QPushButton*>("PrintButton")->click();
            }));
        const QString job = testsupport::waitForNewJob("Skelvo_Office", jobsBefore);
        ASSERT_FALSE(job.isEmpty()) << "no job kept within 30 s";
        const QStringList options = testsupport::jobOptions(job);
        EXPECT_TRUE(options.contains(tray.option)) << options.join(' ').toStdString();
    }
}

// A paper of no standard size keeps the log's own laid-out page, B5
// landscape, even with a portrait orientation stored beside it.
TEST_F(PrintLaunchTest, APaperOfItsOwnKeepsTheLaidOutLandscapePage)
{
    setting("Printer", "Size", "256");
    setting("Printer", "orientation", "1");
    start();
    const QString pdf = QStringLiteral(SKELVO_BINARY_DIR "/custom_paper.pdf");
    QFile::remove(pdf);
    TReportPreview::setSaveFileChooser([&](QWidget*, const QString&) { return pdf; });
    const QStringList jobsBefore = testsupport::keptJobs("Skelvo_Office");
    EXPECT_TRUE(triggerWithModal<TReportPreview>("SkelvoPrintAction", [](TReportPreview& preview) {
        EXPECT_EQ(preview.model().paperMm, QSizeF(257, 182));
        preview.findChild<QPushButton*>("PdfButton")->click();
        preview.findChild<QPushButton*>("PrintButton")->click();
    }));
    TReportPreview::setSaveFileChooser({});
    for (const QString& file : {pdf, testsupport::waitForNewJob("Skelvo_Office", jobsBefore)}) {
        SCOPED_TRACE(file.toStdString());
        const QSizeF paper = testsupport::pdfPageSizeMm(file);
        EXPECT_NEAR(paper.width(), 257, 0.5);
        EXPECT_NEAR(paper.height(), 182, 0.5);
    }
}

} // namespace
