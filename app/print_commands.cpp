// The "印刷" menu's commands of the main window: the printer set-up and the
// launch of the logs' previews.
#include "app/skelvo_main_form.h"
#include "core/error.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "data/held_position.h"
#include "db/store_connections.h"
#include "print/engine_log_print_form.h"
#include "print/myuty_prn.h"
#include "print/printer_choice.h"
#include "print/propeller_log_print_form.h"
#include "print/skelvo_print_form.h"
#include "report/preview_window.h"
#include "report/render.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString NoPrinterForLogs =
    QStringLiteral("プリンターが設定されていません。印刷はできませんが、"
                   "プレビューの「PDF出力」でPDFファイルに保存できます。");
const QString NoPrinterForPrint = QStringLiteral(
    "プリンターが設定されていないため印刷できません。「PDF出力」でPDFファイルに保存できます。");
const QString NoPrinterForSetup =
    QStringLiteral("プリンターが設定されていません。プリンターを追加してから設定してください。");

// The print dialog makes its printer properties window with the printer's
// own default paper in place of the page held by the printer it was opened
// on, and confirming it would store that paper. While the set-up is open,
// each properties window is put back to the held paper and orientation the
// first time it shows; what the user then changes there stands.
class HeldPageKeeper : public QObject
{
public:
    explicit HeldPageKeeper(QPrintDialog& dialog) : dialog_(dialog)
    {
        qApp->installEventFilter(this);
    }
    ~HeldPageKeeper() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->parent() == &dialog_ &&
            !watched->property(Kept).toBool()) {
            if (auto* properties = qobject_cast<QDialog*>(watched)) {
                properties->setProperty(Kept, true);
                showHeldPage(*properties);
            }
        }
        return false;
    }

private:
    void showHeldPage(QDialog& properties) const
    {
        const QPageLayout held = dialog_.printer()->pageLayout();
        if (auto* sizes = properties.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
            for (int i = 0; i < sizes->count(); ++i) {
                if (sizes->itemData(i).value<QPageSize>().isEquivalentTo(held.pageSize())) {
                    sizes->setCurrentIndex(i);
                    break;
                }
            }
        }
        const QString orientation = held.orientation() == QPageLayout::Landscape
                                        ? QStringLiteral("landscape")
                                        : QStringLiteral("portrait");
        if (auto* button = properties.findChild<QRadioButton*>(orientation);
            button && !button->isChecked())
            button->click();
    }

    static constexpr const char* Kept = "skelvoHeldPageShown";
    QPrintDialog& dialog_;
};

} // namespace

QPrinter& TSkelvoMainForm::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

PrinterChoice TSkelvoMainForm::heldPrinterChoice() const
{
    return {PrinterName, PrinterPaperSize, PrinterOrientation, PrinterBin};
}

void TSkelvoMainForm::holdPrinterChoice(const PrinterChoice& choice)
{
    PrinterName = choice.name;
    PrinterPaperSize = choice.paperSize;
    PrinterOrientation = choice.orientation;
    PrinterBin = choice.bin;
}

void TSkelvoMainForm::PrinterSettingActionExecute()
{
    // Qt's dialog would offer only a PDF file, and confirming it would
    // store no printer.
    if (!MyutyPrn::PrinterInstalled()) {
        MessageBox::inform(this, NoPrinterForSetup);
        return;
    }
    PrinterChoice choice = heldPrinterChoice();
    const bool confirmed =
        PrinterSetting::RunPrinterSetting(printer(), choice, IniFileName, [this](QPrinter& shown) {
            QPrintDialog PrinterSetupDialog1(&shown, this);
            PrinterSetupDialog1.setObjectName(QStringLiteral("PrinterSetupDialog1"));
            PrinterSetupDialog1.setWindowTitle(QStringLiteral("プリンターの設定"));
            // The set-up chooses the printer; nothing is printed from here.
            if (auto* buttons = PrinterSetupDialog1.findChild<QDialogButtonBox*>(
                    QString(), Qt::FindDirectChildrenOnly))
                buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
            const HeldPageKeeper keeper(PrinterSetupDialog1);
            // The dialog's "properties" button opens the paper settings.
            bool pageShown = false;
            if (auto* properties =
                    PrinterSetupDialog1.findChild<QPushButton*>(QStringLiteral("properties")))
                connect(properties, &QPushButton::clicked, &PrinterSetupDialog1,
                        [&pageShown] { pageShown = true; });
            if (PrinterSetupDialog1.exec() != QDialog::Accepted)
                return PrinterSetting::SetupResult::Cancelled;
            return pageShown ? PrinterSetting::SetupResult::PageChosen
                             : PrinterSetting::SetupResult::PrinterChosen;
        });
    if (confirmed)
        holdPrinterChoice(choice);
}

void TSkelvoMainForm::SkelvoPrintActionExecute()
{
    launchPrint([this](DataSet& rows) {
        return std::make_unique<TSkelvoPrintForm>(rows, store().TableName, preferences.OldPattern);
    });
}

void TSkelvoMainForm::EngineLogPrintActionExecute()
{
    launchPrint([this](DataSet& rows) {
        return std::make_unique<TEngineLogPrintForm>(rows, store().TableName);
    });
}

void TSkelvoMainForm::PropellerLogPrintActionExecute()
{
    launchPrint([this](DataSet& rows) {
        return std::make_unique<TPropellerLogPrintForm>(rows, store().TableName);
    });
}

void TSkelvoMainForm::launchPrint(const PrintFormMaker& makeForm)
{
    DataSet* rows = openDataSet();
    if (!rows) {
        // A report over no table would be a window being torn down; the
        // user learns why nothing is shown instead.
        MessageBox::warn(this, QStringLiteral("テーブルが開いていません。"));
        return;
    }
    const HeldPosition held(*rows);
    const PrinterChoice choice = heldPrinterChoice();
    // Without a printer the log is still previewed on the stored paper, to
    // be saved as a PDF file.
    const bool installed = MyutyPrn::PrinterInstalled();
    if (installed) {
        PrinterSetting::UseStoredPrinter(printer(), choice);
    } else if (!noPrinterTold_) {
        noPrinterTold_ = true;
        MessageBox::inform(this, NoPrinterForLogs);
    }
    const std::unique_ptr<LogPrintForm> form = makeForm(*rows);
    PrinterSetting::ApplyToPageSetup(form->Report.page, choice);

    TReportPreview preview(form->Report.run(), this);
    preview.setPdfFileName(form->documentName() + QStringLiteral(".pdf"));
    preview.setPrintHandler([this, &form, installed]() -> std::optional<report::PageModel> {
        if (!installed)
            throw SkelvoError(NoPrinterForPrint);
        report::PageModel pages = form->Report.run();
        PrinterSetting::ApplyPageToPrinter(printer(), form->Report.page);
        printer().setDocName(form->documentName());
        if (!report::printModel(pages, printer()))
            throw SkelvoError(
                QStringLiteral("印刷を開始できません: %1").arg(printer().printerName()));
        return pages;
    });
    preview.exec();
}
