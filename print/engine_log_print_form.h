#pragma once

#include "print/log_print_form.h"

// The engine log: the engine's running times, one line per entry except
// the airframe's and the propeller's overhaul entries.
class TEngineLogPrintForm : public LogPrintForm
{
public:
    TEngineLogPrintForm(DataSet& rows, const QString& tableName);

    void PageHeaderBand1BeforePrint();
    void DetailBand1BeforePrint(bool& print);
};
