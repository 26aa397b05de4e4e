#include "print/myuty_prn.h"
#include "print/printer_choice.h"
#include "report/report.h"

#include <QPrinter>
#include <gtest/gtest.h>

using namespace MyutyPrn;

namespace {

struct PaperCase
{
    int code;
    QPageSize::PageSizeId id;
    double widthMm, lengthMm; // as the paper lies in portrait
};

// Every code a report prints on, with the paper the Windows edition gives it.
const PaperCase StandardPapers[] = {
    {1, QPageSize::Letter, 215.9, 279.4},
    {2, QPageSize::LetterSmall, 215.9, 279.4},
    {3, QPageSize::Tabloid, 279.4, 431.8},
    {4, QPageSize::Ledger, 431.8, 279.4},
    {5, QPageSize::Legal, 215.9, 355.6},
    {6, QPageSize::Statement, 139.7, 215.9},
    {7, QPageSize::ExecutiveStandard, 184.2, 266.7},
    {8, QPageSize::A3, 297, 420},
    {9, QPageSize::A4, 210, 297},
    {10, QPageSize::A4Small, 210, 297},
    {11, QPageSize::A5, 148, 210},
    {12, QPageSize::JisB4, 257, 364},
    {13, QPageSize::JisB5, 182, 257},
    {14, QPageSize::FanFoldGermanLegal, 215.9, 330.2},
    {15, QPageSize::Quarto, 215, 275},
    {18, QPageSize::Note, 215.9, 279.4},
    {19, QPageSize::Envelope9, 98.4, 225.4},
    {20, QPageSize::Envelope10, 104.8, 241.3},
    {21, QPageSize::Envelope11, 114.3, 263.5},
    {22, QPageSize::Envelope12, 120.7, 279.4},
    {23, QPageSize::Envelope14, 127, 292.1},
    {24, QPageSize::AnsiC, 431.8, 558.8},
    {25, QPageSize::AnsiD, 558.8, 863.6},
    {26, QPageSize::AnsiE, 863.6, 1117.6},
};

TEST(PaperCodes, StandardCodesMapBothWaysOntoTheirPaper)
{
    for (const PaperCase& paper : StandardPapers) {
        SCOPED_TRACE(paper.code);
        EXPECT_EQ(PaperSizeId(paper.code), paper.id);
        EXPECT_EQ(ToReportPaperSize(paper.code), paper.id);
        EXPECT_EQ(PaperSizeCode(QPageSize(paper.id)), paper.code);
        const QSizeF size = QPageSize::size(paper.id, QPageSize::Millimeter);
        EXPECT_NEAR(size.width(), paper.widthMm, 1.0);
        EXPECT_NEAR(size.height(), paper.lengthMm, 1.0);
    }
}

TEST(PaperCodes, OtherCodesGiveTheReportItsOwnPage)
{
    for (int code : {0, -1, 16, 17, 27, 70, 256, 300})
        EXPECT_EQ(ToReportPaperSize(code), QPageSize::Custom) << code;
    // A paper outside the table keeps its own Windows code; one without any is
    // user-defined.
    EXPECT_EQ(PaperSizeCode(QPageSize(QPageSize::A6)), 70);
    EXPECT_EQ(PaperSizeCode(QPageSize(QSizeF(100, 123), QPageSize::Millimeter)), 256);
    EXPECT_EQ(PaperSizeCode(QPageSize()), 256);
}

TEST(TrayCodes, EachTrayMapsBothWays)
{
    const struct
    {
        int code;
        const char* name;
    } trays[] = {
        {1, "Upper"},          {2, "Lower"},           {3, "Middle"},         {4, "Manual"},
        {5, "Envelope"},       {6, "EnvelopeManual"},  {7, "Auto"},           {8, "Tractor"},
        {9, "AnySmallFormat"}, {10, "AnyLargeFormat"}, {11, "LargeCapacity"}, {14, "Cassette"},
        {15, "FormSource"}};
    for (const auto& tray : trays) {
        SCOPED_TRACE(tray.code);
        EXPECT_EQ(TrayName(tray.code), QLatin1String(tray.name));
        EXPECT_EQ(TrayCode(QLatin1String(tray.name)), tray.code);
        EXPECT_EQ(TrayCode(QString::fromLatin1(tray.name).toLower()), tray.code);
        EXPECT_EQ(ToReportBin(tray.code), tray.code);
    }
    for (int code : {0, 12, 13, 16, 256, 257, -1}) {
        EXPECT_EQ(ToReportBin(code), 7) << code;
        EXPECT_EQ(TrayName(code), QString()) << code;
    }
    EXPECT_EQ(TrayCode("Tray9"), -1);
}

TEST(OrientationCodes, OneIsPortraitTwoIsLandscape)
{
    EXPECT_EQ(OrientationOf(1), QPageLayout::Portrait);
    EXPECT_EQ(OrientationOf(2), QPageLayout::Landscape);
    EXPECT_EQ(OrientationCode(QPageLayout::Portrait), 1);
    EXPECT_EQ(OrientationCode(QPageLayout::Landscape), 2);
}

TEST(ReportPageSetup, TakesPaperOrientationAndTrayFromTheChoice)
{
    report::PageSetup page;
    PrinterSetting::ApplyToPageSetup(page, PrinterChoice{}); // first run
    EXPECT_EQ(page.paperSize, QPageSize::JisB5);
    EXPECT_DOUBLE_EQ(page.widthMm, 182);
    EXPECT_DOUBLE_EQ(page.lengthMm, 257);
    EXPECT_EQ(page.orientation, QPageLayout::Landscape);
    EXPECT_EQ(page.tray, 7);

    PrinterSetting::ApplyToPageSetup(page, PrinterChoice{"", 9, 1, 2});
    EXPECT_EQ(page.paperSize, QPageSize::A4);
    EXPECT_DOUBLE_EQ(page.widthMm, 210);
    EXPECT_DOUBLE_EQ(page.lengthMm, 297);
    EXPECT_EQ(page.orientation, QPageLayout::Portrait);
    EXPECT_EQ(page.tray, 2);

    // A custom page keeps the size and orientation the report laid out.
    page.widthMm = 200;
    page.lengthMm = 280;
    page.orientation = QPageLayout::Landscape;
    PrinterSetting::ApplyToPageSetup(page, PrinterChoice{"", 16, 1, 300});
    EXPECT_EQ(page.paperSize, QPageSize::Custom);
    EXPECT_DOUBLE_EQ(page.widthMm, 200);
    EXPECT_DOUBLE_EQ(page.lengthMm, 280);
    EXPECT_EQ(page.orientation, QPageLayout::Landscape);
    EXPECT_EQ(page.tray, 7);
}

} // namespace
