// The "印刷" menu on a machine without printers: a print scheduler of its own
// that holds no queue, started for this test alone.
#include "app/demo/demo_logbook.h"
#include "report/preview_window.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/print_output.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

const QString SchedulerDir = QStringLiteral(SKELVO_BINARY_DIR "/cups-no-queue");
const QString SchedulerScript = QStringLiteral(SKELVO_SOURCE_DIR "/tests/fixtures/cups.sh");

class NoPrinterTest : public entrytest::LogbookWindowTest
{
protected:
    // Before anything in this process asks the print system.
    static void SetUpTestSuite()
    {
        testsupport::runTool("bash", {SchedulerScript, "start", SchedulerDir});
        qputenv("CUPS_SERVER", (SchedulerDir + "/cups.sock").toLocal8Bit());
        qputenv("CUPS_SERVERROOT", (SchedulerDir + "/etc").toLocal8Bit());
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
        for (const char* queue : {"Skelvo_Office", "Skelvo_Hangar"})
            testsupport::runTool("lpadmin", {"-x", queue});
    }
    static void TearDownTestSuite()
    {
        testsupport::runTool("bash", {SchedulerScript, "stop", SchedulerDir});
    }

    QString fillStore() override
    {
        DemoLogbook::create(store_, SKELVO_SOURCE_DIR "/commands");
        return DemoLogbook::TableName;
    }
};

// Each log is still previewed on the stored paper and saved as PDF; the user
// is told once why nothing can be printed.
TEST_F(NoPrinterTest, TheLogsArePreviewedAndSavedAsPdfWithOneMessage)
{
    start();
    MessageBox::takeRecorded();
    for (const char* action :
         {"SkelvoPrintAction", "EngineLogPrintAction", "PropellerLogPrintAction"}) {
        SCOPED_TRACE(action);
        const QString pdf = SchedulerDir + "/" + action + ".pdf";
        QFile::remove(pdf);
        TReportPreview::setSaveFileChooser([&](QWidget*, const QString&) { return pdf; });
        bool previewed = false;
        QString printStatus;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<TReportPreview*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            previewed = true;
            EXPECT_EQ(preview->model().paperMm, QSizeF(257, 182));
            preview->findChild<QPushButton*>("PdfButton")->click();
            preview->findChild<QPushButton*>("PrintButton")->click();
            printStatus = preview->findChild<QLabel*>("StatusLabel")->text();
            preview->reject();
        });
        main().findChild<QAction*>(action)->trigger();
        TReportPreview::setSaveFileChooser({});
        EXPECT_TRUE(previewed);
        EXPECT_TRUE(printStatus.contains("PDF出力")) << printStatus.toStdString();
        const QSizeF paper = testsupport::pdfPageSizeMm(pdf);
        EXPECT_NEAR(paper.width(), 257, 0.5);
        EXPECT_NEAR(paper.height(), 182, 0.5);
    }
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "プリンターが設定されていません。印刷はできませんが、"
                             "プレビューの「PDF出力」でPDFファイルに保存できます。");

    // The set-up has no printer to offer: it says so and stores nothing.
    main().findChild<QAction*>("PrinterSettingAction")->trigger();
    const QList<MessageBox::Recorded> setup = MessageBox::takeRecorded();
    ASSERT_EQ(setup.size(), 1);
    EXPECT_TRUE(setup[0].text.startsWith("プリンターが設定されていません。"))
        << setup[0].text.toStdString();
}

} // namespace
