#include "print/propeller_log_print_form.h"

#include "data/data_set.h"
#include "print/running_time_log_layout.h"

TPropellerLogPrintForm::TPropellerLogPrintForm(DataSet& rows, const QString& tableName)
    : LogPrintForm(rows, tableName, RunningTimeLogLayout::propellerLog())
{
    Report.detailBeforePrint = [this](bool& print) { DetailBand1BeforePrint(print); };
}

void TPropellerLogPrintForm::DetailBand1BeforePrint(bool& print)
{
    // A row that begins a page prints whatever its flags, with the year the
    // page start gave it, and leaves the remembered year alone.
    if (beginNumberedPage()) {
        print = true;
        return;
    }
    yearStep();
    print = rows_.asInteger(u"ovh") == 0 && rows_.asInteger(u"e_ovh") == 0;
}
