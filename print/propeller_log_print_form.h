#pragma once

#include "print/log_print_form.h"

// The propeller log: the propeller's running times, one line per entry
// except the airframe's and the engine's overhaul entries that do not begin
// a propeller page.
class TPropellerLogPrintForm : public LogPrintForm
{
public:
    TPropellerLogPrintForm(DataSet& rows, const QString& tableName);

    void DetailBand1BeforePrint(bool& print);
};
