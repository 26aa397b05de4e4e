#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPrinter;

// The printer functions. The stored printer choice keeps the codes of the
// Windows printer device mode (paper size, orientation 1/2, paper source),
// so a settings file moves between editions; here they are mapped onto
// QPrinter's page size, orientation and paper source and back.
//
// An index is a position in the list of installed printers
// (QPrinterInfo::availablePrinterNames()), counted from 0. A function that
// takes an index first makes that printer current on the given QPrinter; an
// index outside the list leaves the current printer as it is.
namespace MyutyPrn {

// Whether the print system has any printer at all.
bool PrinterInstalled();
// The first installed printer whose name equals name ignoring case, or -1.
int FindPrinter(const QString& name);
// The position of the printer's current printer in the list, or -1.
int CurrentPrinterIndex(const QPrinter& printer);

QString GetPrinterName(QPrinter& printer, int index);
int GetPaperSize(QPrinter& printer, int index);
int GetOrientation(QPrinter& printer, int index);
int GetPaperBin(QPrinter& printer, int index);

// Gives the printer at index the paper size, orientation, tray and number of
// copies (0 counts as 1); a negative value leaves that setting as the
// printer has it. Without a usable printer it says "Printer.GetPrinter
// エラー", changes nothing and returns false.
bool SetPrinterMode(QPrinter& printer, int index, int paperSize, int orientation, int bin,
                    int copies);

// Paper-size code <-> page size. A code outside the standard sizes, and a
// page size without a code of its own, map to QPageSize::Custom / 256.
QPageSize::PageSizeId PaperSizeId(int paperSize);
int PaperSizeCode(const QPageSize& pageSize);

// Orientation code (1 portrait, 2 landscape) <-> page orientation.
QPageLayout::Orientation OrientationOf(int orientation);
int OrientationCode(QPageLayout::Orientation orientation);

// Paper-source code <-> the PPD/IPP name of the tray ("Auto", "Upper", ...),
// as CUPS and the print dialog's options name it. Unknown: "" / -1.
QString TrayName(int bin);
int TrayCode(const QString& name);

// The report's page size for a stored paper-size code: the standard size of
// the same code, or Custom, on which the report keeps its own page width and
// length.
QPageSize::PageSizeId ToReportPaperSize(int paperSize);
// The report's output tray (a paper-source code) for a stored code; codes
// without a tray of their own select automatic (7).
int ToReportBin(int bin);

} // namespace MyutyPrn
