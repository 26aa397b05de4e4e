#include "print/printer_choice.h"

#include "core/error.h"
#include "print/myuty_prn.h"
#include "report/report.h"

#include <QPrinter>

namespace PrinterSetting {

PrinterChoice ReadStoredPrinter(const QString& iniPath)
{
    PrinterChoice choice;
    choice.name = Settings::read(iniPath, Settings::PrinterName);
    choice.paperSize = Settings::read(iniPath, Settings::PrinterSize);
    choice.orientation = Settings::read(iniPath, Settings::PrinterOrientation);
    choice.bin = Settings::read(iniPath, Settings::PrinterBin);
    return choice;
}

void WriteStoredPrinter(const QString& iniPath, const PrinterChoice& choice)
{
    const bool written =
        Settings::write(iniPath, Settings::PrinterName, choice.name) == 0 &&
        Settings::write(iniPath, Settings::PrinterSize, choice.paperSize) == 0 &&
        Settings::write(iniPath, Settings::PrinterOrientation, choice.orientation) == 0 &&
        Settings::write(iniPath, Settings::PrinterBin, choice.bin) == 0;
    // The user confirmed a choice; losing it without a word would bring the
    // old printer back at the next start.
    if (!written)
        throw SkelvoError(QStringLiteral("プリンターの設定を保存できません: %1").arg(iniPath));
}

void UseStoredPrinter(QPrinter& printer, const PrinterChoice& choice)
{
    int index = MyutyPrn::FindPrinter(choice.name);
    if (index < 0)
        index = MyutyPrn::CurrentPrinterIndex(printer);
    MyutyPrn::SetPrinterMode(printer, index, choice.paperSize, choice.orientation, choice.bin, 1);
}

PrinterChoice CurrentPrinter(QPrinter& printer)
{
    const int index = MyutyPrn::CurrentPrinterIndex(printer);
    PrinterChoice choice;
    choice.name = MyutyPrn::GetPrinterName(printer, index);
    choice.paperSize = MyutyPrn::GetPaperSize(printer, index);
    choice.orientation = MyutyPrn::GetOrientation(printer, index);
    choice.bin = MyutyPrn::GetPaperBin(printer, index);
    return choice;
}

PrinterChoice StoreCurrentPrinter(QPrinter& printer, const QString& iniPath)
{
    const PrinterChoice choice = CurrentPrinter(printer);
    WriteStoredPrinter(iniPath, choice);
    return choice;
}

bool RunPrinterSetting(QPrinter& printer, PrinterChoice& held, const QString& iniPath,
                       const SetupDialog& showSetup)
{
    UseStoredPrinter(printer, held);
    const SetupResult result = showSetup(printer);
    if (result == SetupResult::Cancelled)
        return false;
    // The platform's dialog puts the printer's own default paper in place
    // of the one it was opened on; a user who never looked at the paper
    // chose only the printer.
    if (result == SetupResult::PrinterChosen)
        MyutyPrn::SetPrinterMode(printer, MyutyPrn::CurrentPrinterIndex(printer), held.paperSize,
                                 held.orientation, held.bin, 1);
    held = CurrentPrinter(printer);
    WriteStoredPrinter(iniPath, held);
    return true;
}

void ApplyToPageSetup(report::PageSetup& page, const PrinterChoice& choice)
{
    page.tray = MyutyPrn::ToReportBin(choice.bin);
    const QPageSize::PageSizeId paper = MyutyPrn::ToReportPaperSize(choice.paperSize);
    // A page of the report's own is drawn for the way it is laid out;
    // turning it would cut the layout.
    if (paper == QPageSize::Custom) {
        page.paperSize = QPageSize::Custom;
        return;
    }
    page.setPaperSize(paper);
    page.orientation = MyutyPrn::OrientationOf(choice.orientation);
}

void ApplyPageToPrinter(QPrinter& printer, const report::PageSetup& page)
{
    const QPageSize paper =
        page.paperSize != QPageSize::Custom
            ? QPageSize(page.paperSize)
            : QPageSize(QSizeF(page.widthMm, page.lengthMm), QPageSize::Millimeter, QString(),
                        QPageSize::ExactMatch);
    printer.setPageSize(paper);
    printer.setPageOrientation(page.orientation);
    MyutyPrn::SetPrinterMode(printer, MyutyPrn::CurrentPrinterIndex(printer), -1, -1, page.tray,
                             -1);
}

} // namespace PrinterSetting
