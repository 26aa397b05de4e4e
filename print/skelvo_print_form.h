#pragma once

#include "print/log_print_form.h"

#include <QString>

class DataSet;

// The journey log: the airframe log printed like the pages of a bound
// logbook, one ruled line per entry of the open table in its order. It
// carries the report and the rules that number its pages and print the
// years; it is made anew for every print.
class TSkelvoPrintForm : public LogPrintForm
{
public:
    // Binds the report to the rows and moves them to their first row; an
    // error when no table is open.
    TSkelvoPrintForm(DataSet& rows, const QString& tableName, const bool& oldPattern);

    QString documentName() const override;

    void ReportBeforePrint();
    void ReportStartPage();
    void PageHeaderBand1BeforePrint();
    void DetailBand1BeforePrint(bool& print);

private:
    void FormCreate();
    report::Label& label(report::Band& band, const char* name) const;
    void setYear(const QString& year);
    void showPageNumber();

    DataSet& rows_;
    QString tableName_;
    const bool& oldPattern_; // read at every run start
    int pageCounter_ = 0;
    QString rememberedYear_;
};
