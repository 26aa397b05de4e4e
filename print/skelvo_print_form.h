#pragma once

#include "print/log_print_form.h"

// The journey log: the airframe log printed like the pages of a bound
// logbook, one ruled line per entry of the open table in its order, with
// the notes block of the older pattern when asked for.
class TSkelvoPrintForm : public LogPrintForm
{
public:
    TSkelvoPrintForm(DataSet& rows, const QString& tableName, const bool& oldPattern);

    void ReportBeforePrint() override;
    void PageHeaderBand1BeforePrint();
    void DetailBand1BeforePrint(bool& print);

private:
    const bool& oldPattern_; // read at every run start
};
