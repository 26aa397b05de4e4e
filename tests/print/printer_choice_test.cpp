// The printer functions against the private CUPS scheduler of the test
// fixture: queues Skelvo_Office (the default) and Skelvo_Hangar, both with
// A4, B5 and Letter and the trays Auto, Upper, Lower and Manual.
#include "core/error.h"
#include "print/myuty_prn.h"
#include "print/printer_choice.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/print_output.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"
#include "ui/message_box.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

using namespace MyutyPrn;
using PrinterSetting::RunPrinterSetting;

void PrintTo(const PrinterChoice& choice, std::ostream* out)
{
    *out << '{' << choice.name.toStdString() << ", " << choice.paperSize << ", "
         << choice.orientation << ", " << choice.bin << '}';
}

namespace {

class PrinterChoiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { testsupport::ensureGuiApplication(); }
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            << "run through ctest, which starts the CUPS fixture";
        ASSERT_GE(FindPrinter("Skelvo_Hangar"), 0) << "the fixture's queues are missing";
        MessageBox::setTestMode(true);
        MessageBox::takeRecorded();
    }
    void TearDown() override { MessageBox::setTestMode(false); }

    QString iniPath() const { return folder_.filePath("Skelvo.INI"); }

    testsupport::TempFolder folder_;
};

TEST_F(PrinterChoiceTest, FindPrinterIgnoresCaseAndMissesUnknownNames)
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    for (qsizetype i = 0; i < names.size(); ++i) // the first one too
        EXPECT_EQ(FindPrinter(names[i].toLower()), i) << names[i].toStdString();
    EXPECT_EQ(FindPrinter("Skelvo_Hangar"), names.indexOf("Skelvo_Hangar"));
    EXPECT_EQ(FindPrinter("Skelvo_Hangar2"), -1);
    EXPECT_EQ(FindPrinter(""), -1);
}

TEST_F(PrinterChoiceTest, FirstRunUsesTheDefaultPrinterOnB5LandscapeAutomaticTray)
{
    const PrinterChoice stored = PrinterSetting::ReadStoredPrinter(iniPath());
    EXPECT_EQ(stored, (PrinterChoice{"", 13, 2, 7}));

    QPrinter printer;
    PrinterSetting::UseStoredPrinter(printer, stored);
    EXPECT_EQ(printer.printerName(), "Skelvo_Office");
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::JisB5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.paperSource(), QPrinter::Auto);
    EXPECT_EQ(PrinterSetting::CurrentPrinter(printer), (PrinterChoice{"Skelvo_Office", 13, 2, 7}));
}

TEST_F(PrinterChoiceTest, SetPrinterModeWritesOnlyCodesThatAreNotNegative)
{
    QPrinter printer;
    const int hangar = FindPrinter("Skelvo_Hangar");
    ASSERT_TRUE(SetPrinterMode(printer, hangar, 9, 1, 2, 0));
    EXPECT_EQ(printer.printerName(), "Skelvo_Hangar");
    EXPECT_EQ(GetPaperSize(printer, hangar), 9);
    EXPECT_EQ(GetOrientation(printer, hangar), 1);
    EXPECT_EQ(GetPaperBin(printer, hangar), 2);
    EXPECT_EQ(printer.copyCount(), 1);

    ASSERT_TRUE(SetPrinterMode(printer, hangar, -1, -1, -1, 3));
    EXPECT_EQ(GetPaperSize(printer, hangar), 9);
    EXPECT_EQ(GetOrientation(printer, hangar), 1);
    EXPECT_EQ(GetPaperBin(printer, hangar), 2);
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    // A stored name that matches nothing: the current printer takes the codes.
    PrinterSetting::UseStoredPrinter(printer, PrinterChoice{"Gone", 1, 2, 4});
    EXPECT_EQ(PrinterSetting::CurrentPrinter(printer), (PrinterChoice{"Skelvo_Hangar", 1, 2, 4}));
}

TEST_F(PrinterChoiceTest, WithoutAPrinterNothingChangesAndTheUserIsTold)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A5));
    EXPECT_FALSE(SetPrinterMode(printer, -1, 9, 2, 7, 1));
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    const auto shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "Printer.GetPrinter エラー");
}

TEST_F(PrinterChoiceTest, StoredChoiceRoundTripsThroughTheSettingsFile)
{
    folder_.writeFile("Skelvo.INI", "[Windows]\r\nTop=5\r\n");
    QPrinter printer;
    PrinterSetting::UseStoredPrinter(printer, PrinterChoice{"skelvo_hangar", 1, 1, 4});
    const PrinterChoice stored = PrinterSetting::StoreCurrentPrinter(printer, iniPath());
    EXPECT_EQ(stored, (PrinterChoice{"Skelvo_Hangar", 1, 1, 4}));
    EXPECT_EQ(PrinterSetting::ReadStoredPrinter(iniPath()), stored);
    EXPECT_TRUE(folder_.readFile("Skelvo.INI").startsWith("[Windows]\r\nTop=5\r\n"));

    QPrinter next; // as at the next start
    PrinterSetting::UseStoredPrinter(next, PrinterSetting::ReadStoredPrinter(iniPath()));
    EXPECT_EQ(PrinterSetting::CurrentPrinter(next), stored);
}

TEST_F(PrinterChoiceTest, AChoiceThatCannotBeStoredIsAnError)
{
    folder_.writeFile("file", "");
    QPrinter printer;
    EXPECT_THROW(PrinterSetting::StoreCurrentPrinter(printer, folder_.filePath("file/Skelvo.INI")),
                 SkelvoError);
}

TEST_F(PrinterChoiceTest, PrinterSettingStoresOnlyWhenConfirmed)
{
    const QByteArray before =
        "[Printer]\r\nName=Skelvo_Hangar\r\nSize=9\r\norientation=1\r\nBin=2\r\n";
    folder_.writeFile("Skelvo.INI", before);
    PrinterChoice held = PrinterSetting::ReadStoredPrinter(iniPath());
    const PrinterChoice stored = held;
    QPrinter printer;

    // The set-up opens on the stored choice; cancelling it keeps everything.
    PrinterChoice seen;
    EXPECT_FALSE(RunPrinterSetting(printer, held, iniPath(), [&](QPrinter& shown) {
        seen = PrinterSetting::CurrentPrinter(shown);
        shown.setPageSize(QPageSize(QPageSize::Letter));
        return PrinterSetting::SetupResult::Cancelled;
    }));
    EXPECT_EQ(seen, stored);
    EXPECT_EQ(held, stored);
    EXPECT_EQ(folder_.readFile("Skelvo.INI"), before);

    EXPECT_TRUE(RunPrinterSetting(printer, held, iniPath(), [](QPrinter& shown) {
        SetPrinterMode(shown, FindPrinter("Skelvo_Office"), 13, 2, 4, 1);
        return PrinterSetting::SetupResult::PageChosen;
    }));
    const PrinterChoice chosen{"Skelvo_Office", 13, 2, 4};
    EXPECT_EQ(held, chosen);
    EXPECT_EQ(PrinterSetting::ReadStoredPrinter(iniPath()), chosen);
}

TEST_F(PrinterChoiceTest, APrintJobReachesTheQueueWithTheStoredPaperAndTray)
{
    const QStringList before = testsupport::keptJobs("Skelvo_Hangar");
    QPrinter printer;
    PrinterSetting::UseStoredPrinter(printer, PrinterChoice{"Skelvo_Hangar", 13, 2, 2});
    printer.setDocName("skelvo print test");
    {
        QPainter painter;
        ASSERT_TRUE(painter.begin(&printer));
        painter.drawText(QPointF(100, 100), "1");
        printer.newPage();
        painter.drawText(QPointF(100, 100), "2");
    }

    const QString job = testsupport::waitForNewJob("Skelvo_Hangar", before);
    ASSERT_FALSE(job.isEmpty()) << "no job kept within 30 s; see the fixture's logs";

    EXPECT_EQ(testsupport::pdfPageCount(job), 2);
    // B5 landscape: 257 x 182 mm.
    const QSizeF size = testsupport::pdfPageSizeMm(job);
    EXPECT_NEAR(size.width(), 257, 0.5);
    EXPECT_NEAR(size.height(), 182, 0.5);

    QFile options(QString(job).replace(".pdf", ".options"));
    ASSERT_TRUE(options.open(QIODevice::ReadOnly));
    const QString sent = QString::fromUtf8(options.readAll());
    EXPECT_TRUE(sent.contains("InputSlot=Lower")) << sent.toStdString();
    EXPECT_TRUE(sent.contains("media=B5")) << sent.toStdString();
}

} // namespace
