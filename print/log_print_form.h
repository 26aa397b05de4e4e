#pragma once

#include "print/log_layout.h"
#include "report/report.h"

#include <QString>

class DataSet;

// A log's report window: the report over the open table laid out as its
// bound-book page, and the page logic the three logs share. Pages are
// numbered by the page-number column (a row carrying N begins page N) or
// count on when one is full; a line shows its year where it changes.
// Made anew for every print.
class LogPrintForm
{
public:
    virtual ~LogPrintForm() = default;
    LogPrintForm(const LogPrintForm&) = delete;
    LogPrintForm& operator=(const LogPrintForm&) = delete;

    report::Report Report;

    // The print job's name, also offered as the PDF file's name.
    QString documentName() const;

    // Run start: the header rule across the page in use, the registration
    // mark, the page counter from the first row's page number, no year
    // remembered.
    virtual void ReportBeforePrint();
    // Page start: the next page number and the year of the row that
    // prints next.
    void ReportStartPage();

protected:
    // Binds the report to the rows, lays the page out and moves the rows to
    // their first row; an error when no table is open.
    LogPrintForm(DataSet& rows, const QString& tableName, const LogLayout::Layout& layout);

    report::Label& label(report::Band& band, const char* name) const;
    void setYear(const QString& year);
    void showRowYear();
    // A row carrying a page number begins that page; false when it carries
    // none.
    bool beginNumberedPage();
    // The row's year where it differs from the last one remembered, blank
    // otherwise.
    void yearStep();

    DataSet& rows_;

private:
    void FormCreate();
    int rowPageNumber() const;

    QString tableName_;
    const LogLayout::Layout& layout_;
    int pageCounter_ = 0;
    QString rememberedYear_;
};
