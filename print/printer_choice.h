#pragma once

#include "core/settings_keys.h"

#include <QString>
#include <functional>

class QPrinter;

namespace report {
struct PageSetup;
}

// The one printer choice of the three logs, as the settings file keeps it
// (codes of the Windows printer device mode; see MyutyPrn).
struct PrinterChoice
{
    QString name;
    int paperSize = Settings::PrinterSize.defaultValue;
    int orientation = Settings::PrinterOrientation.defaultValue;
    int bin = Settings::PrinterBin.defaultValue;

    bool operator==(const PrinterChoice&) const = default;
};

// Keeping the choice and applying it; the main window holds the choice and
// calls these, so they need no window.
namespace PrinterSetting {

PrinterChoice ReadStoredPrinter(const QString& iniPath);
// Raises SkelvoError when the settings file cannot be written.
void WriteStoredPrinter(const QString& iniPath, const PrinterChoice& choice);

// Makes the stored printer current when it is installed (otherwise the
// current one stays) and gives it the stored paper, orientation, tray and
// one copy.
void UseStoredPrinter(QPrinter& printer, const PrinterChoice& choice);
// The current printer's name, paper, orientation and tray.
PrinterChoice CurrentPrinter(QPrinter& printer);
// Takes the current printer's choice and writes it to the settings file.
PrinterChoice StoreCurrentPrinter(QPrinter& printer, const QString& iniPath);

// What the user did in the printer set-up shown on a printer.
enum class SetupResult
{
    Cancelled,
    PrinterChosen, // confirmed without opening the paper settings
    PageChosen,    // confirmed after seeing the paper, orientation and tray
};
using SetupDialog = std::function<SetupResult(QPrinter&)>;
// The printer set-up command: opens the set-up on the stored choice and,
// only when the user confirms it, takes the new choice into held and the
// settings file. A printer chosen without its paper settings keeps the
// stored paper, orientation and tray. Returns whether it was confirmed.
bool RunPrinterSetting(QPrinter& printer, PrinterChoice& held, const QString& iniPath,
                       const SetupDialog& showSetup);

// A report's page set-up from the choice: the paper of its code, the
// orientation and the tray. A code without a standard paper keeps the
// report's own page as it is laid out, orientation included.
void ApplyToPageSetup(report::PageSetup& page, const PrinterChoice& choice);
// Gives the current printer the report's page (paper and orientation as laid
// out) and its tray, so that the job asks for what the preview showed.
void ApplyPageToPrinter(QPrinter& printer, const report::PageSetup& page);

} // namespace PrinterSetting
