#include "print/engine_log_print_form.h"

#include "data/data_set.h"
#include "print/running_time_log_layout.h"

TEngineLogPrintForm::TEngineLogPrintForm(DataSet& rows, const QString& tableName)
    : LogPrintForm(rows, tableName, RunningTimeLogLayout::engineLog())
{
    Report.pageHeaderBeforePrint = [this] { PageHeaderBand1BeforePrint(); };
    Report.detailBeforePrint = [this](bool& print) { DetailBand1BeforePrint(print); };
}

void TEngineLogPrintForm::PageHeaderBand1BeforePrint()
{
    showRowYear();
}

void TEngineLogPrintForm::DetailBand1BeforePrint(bool& print)
{
    // A left-out row still begins its page and counts for the years.
    beginNumberedPage();
    yearStep();
    print = rows_.asInteger(u"ovh") == 0 && rows_.asInteger(u"p_ovh") == 0;
}
