#include "print/myuty_prn.h"

#include "ui/message_box.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <array>

namespace MyutyPrn {

namespace {

// The options the CUPS print engine hands to the job, as pairs of name and
// value; Qt's print dialog fills them from the printer's own options. Other
// engines ignore the key.
const auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
const QString InputSlot = QStringLiteral("InputSlot");

struct Tray
{
    int code;
    QPrinter::PaperSource source;
    const char* name; // the PPD/IPP name
};

// Every paper-source code that QPrinter has a source for.
constexpr std::array<Tray, 13> Trays{{
    {1, QPrinter::Upper, "Upper"},
    {2, QPrinter::Lower, "Lower"},
    {3, QPrinter::Middle, "Middle"},
    {4, QPrinter::Manual, "Manual"},
    {5, QPrinter::Envelope, "Envelope"},
    {6, QPrinter::EnvelopeManual, "EnvelopeManual"},
    {7, QPrinter::Auto, "Auto"},
    {8, QPrinter::Tractor, "Tractor"},
    {9, QPrinter::SmallFormat, "AnySmallFormat"},
    {10, QPrinter::LargeFormat, "AnyLargeFormat"},
    {11, QPrinter::LargeCapacity, "LargeCapacity"},
    {14, QPrinter::Cassette, "Cassette"},
    {15, QPrinter::FormSource, "FormSource"},
}};

constexpr int UserDefinedPaper = 256; // also the first driver-specific tray

// Codes whose paper Qt's own Windows table gets wrong or lacks: folio is
// 8.5 x 13 in, and the C, D and E sheets are the ANSI ones.
struct Paper
{
    int code;
    QPageSize::PageSizeId id;
};
constexpr std::array<Paper, 4> PaperOverrides{{
    {14, QPageSize::FanFoldGermanLegal},
    {24, QPageSize::AnsiC},
    {25, QPageSize::AnsiD},
    {26, QPageSize::AnsiE},
}};

const Tray* trayOfCode(int code)
{
    for (const Tray& tray : Trays) {
        if (tray.code == code)
            return &tray;
    }
    return nullptr;
}

void makeCurrent(QPrinter& printer, int index)
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (index < 0 || index >= names.size())
        return;
    if (printer.outputFormat() != QPrinter::NativeFormat)
        printer.setOutputFormat(QPrinter::NativeFormat);
    if (printer.printerName() != names[index])
        printer.setPrinterName(names[index]);
}

bool hasPrinter(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty() &&
           printer.isValid();
}

QStringList cupsOptions(QPrinter& printer)
{
    return printer.printEngine()->property(CupsOptions).toStringList();
}

// Sets or replaces one name/value pair, keeping the others the dialog set.
void setCupsOption(QPrinter& printer, const QString& name, const QString& value)
{
    QStringList options = cupsOptions(printer);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == name) {
            options[i + 1] = value;
            printer.printEngine()->setProperty(CupsOptions, options);
            return;
        }
    }
    options << name << value;
    printer.printEngine()->setProperty(CupsOptions, options);
}

} // namespace

bool PrinterInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

int FindPrinter(const QString& name)
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int CurrentPrinterIndex(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return -1;
    return int(QPrinterInfo::availablePrinterNames().indexOf(printer.printerName()));
}

QString GetPrinterName(QPrinter& printer, int index)
{
    makeCurrent(printer, index);
    return printer.printerName();
}

int GetPaperSize(QPrinter& printer, int index)
{
    makeCurrent(printer, index);
    return PaperSizeCode(printer.pageLayout().pageSize());
}

int GetOrientation(QPrinter& printer, int index)
{
    makeCurrent(printer, index);
    return OrientationCode(printer.pageLayout().orientation());
}

int GetPaperBin(QPrinter& printer, int index)
{
    makeCurrent(printer, index);
    // A tray chosen among the printer's own options in the print dialog
    // overrides the paper source.
    const QStringList options = cupsOptions(printer);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == InputSlot) {
            const int code = TrayCode(options[i + 1]);
            return code > 0 ? code : UserDefinedPaper;
        }
    }
    for (const Tray& tray : Trays) {
        if (tray.source == printer.paperSource())
            return tray.code;
    }
    return UserDefinedPaper;
}

bool SetPrinterMode(QPrinter& printer, int index, int paperSize, int orientation, int bin,
                    int copies)
{
    makeCurrent(printer, index);
    if (!hasPrinter(printer)) {
        MessageBox::error(nullptr, QStringLiteral("Printer.GetPrinter エラー"));
        return false;
    }
    if (paperSize >= 0) {
        const QPageSize::PageSizeId id = PaperSizeId(paperSize);
        if (id != QPageSize::Custom)
            printer.setPageSize(QPageSize(id));
    }
    // The page size first: the orientation turns the page it finds.
    if (orientation == 1 || orientation == 2)
        printer.setPageOrientation(OrientationOf(orientation));
    if (copies >= 0)
        printer.setCopyCount(copies == 0 ? 1 : copies);
    if (const Tray* tray = bin >= 0 ? trayOfCode(bin) : nullptr) {
        printer.setPaperSource(tray->source);
        setCupsOption(printer, InputSlot, QString::fromLatin1(tray->name));
    }
    return true;
}

QPageSize::PageSizeId PaperSizeId(int paperSize)
{
    for (const Paper& paper : PaperOverrides) {
        if (paper.code == paperSize)
            return paper.id;
    }
    if (paperSize <= 0)
        return QPageSize::Custom;
    return QPageSize::id(paperSize);
}

int PaperSizeCode(const QPageSize& pageSize)
{
    if (!pageSize.isValid())
        return UserDefinedPaper;
    for (const Paper& paper : PaperOverrides) {
        if (paper.id == pageSize.id())
            return paper.code;
    }
    const int code = pageSize.windowsId();
    return code > 0 ? code : UserDefinedPaper;
}

QPageLayout::Orientation OrientationOf(int orientation)
{
    return orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape;
}

int OrientationCode(QPageLayout::Orientation orientation)
{
    return orientation == QPageLayout::Portrait ? 1 : 2;
}

QString TrayName(int bin)
{
    const Tray* tray = trayOfCode(bin);
    return tray ? QString::fromLatin1(tray->name) : QString();
}

int TrayCode(const QString& name)
{
    for (const Tray& tray : Trays) {
        if (name.compare(QLatin1String(tray.name), Qt::CaseInsensitive) == 0)
            return tray.code;
    }
    return -1;
}

QPageSize::PageSizeId ToReportPaperSize(int paperSize)
{
    const bool standard =
        (paperSize >= 1 && paperSize <= 15) || (paperSize >= 18 && paperSize <= 26);
    return standard ? PaperSizeId(paperSize) : QPageSize::Custom;
}

int ToReportBin(int bin)
{
    const bool ownTray = (bin >= 1 && bin <= 11) || bin == 14 || bin == 15;
    return ownTray ? bin : 7;
}

} // namespace MyutyPrn
