#include "print/skelvo_print_form.h"

#include "print/journey_log_layout.h"

namespace {

// The notes block's ruled lines run from the date column to the band's
// right edge.
constexpr const char* NotesLines[] = {"QRShape19", "QRShape20", "QRShape21", "QRShape22",
                                      "QRShape23"};
constexpr double NotesLinesIndentMm = 14.8;

} // namespace

TSkelvoPrintForm::TSkelvoPrintForm(DataSet& rows, const QString& tableName, const bool& oldPattern)
    : LogPrintForm(rows, tableName, JourneyLogLayout::layout()), oldPattern_(oldPattern)
{
    Report.pageFooter.enabled = false;
    Report.pageHeaderBeforePrint = [this] { PageHeaderBand1BeforePrint(); };
    Report.detailBeforePrint = [this](bool& print) { DetailBand1BeforePrint(print); };
}

void TSkelvoPrintForm::ReportBeforePrint()
{
    LogPrintForm::ReportBeforePrint();
    Report.pageFooter.enabled = oldPattern_;
    for (const char* name : NotesLines)
        Report.pageFooter.find(QString::fromLatin1(name))
            ->rectMm.setWidth(Report.printableWidthMm() - NotesLinesIndentMm);
}

void TSkelvoPrintForm::PageHeaderBand1BeforePrint()
{
    showRowYear();
}

void TSkelvoPrintForm::DetailBand1BeforePrint(bool& print)
{
    beginNumberedPage();
    yearStep();
    print = true;
}
