#pragma once

#include "report/report.h"

#include <QString>

class DataSet;

// What the print launch needs of a log's report window: the report over
// the open table, set up for its page, and the name its pages go out under.
class LogPrintForm
{
public:
    virtual ~LogPrintForm() = default;
    LogPrintForm(const LogPrintForm&) = delete;
    LogPrintForm& operator=(const LogPrintForm&) = delete;

    report::Report Report;

    // The print job's name, also offered as the PDF file's name.
    virtual QString documentName() const = 0;

protected:
    explicit LogPrintForm(DataSet& rows) : Report(&rows) {}
};
