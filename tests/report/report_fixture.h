#pragma once

#include "data/data_set.h"
#include "report/report.h"
#include "tests/testsupport/temp_folder.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace reporttest {

// A report over a small table of numbered words in a folder store, on a
// 100 × 100 mm page with 5 mm margins, whose events write a trace
// "event:n" with the number of the row the event sees.
class ReportTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Rows numbered 1, 2, ... holding the words given; the row-set opened.
    void seed(const QStringList& words);
    void traceEvents();

    QString currentRow() const;
    // The texts of the items of one page named so, in order.
    QStringList texts(const report::Page& page, const QString& name) const;
    const report::PageItem* item(const report::Page& page, const QString& name) const;

    testsupport::TempFolder folder_;
    QString connection_;
    DataSet rows_;
    report::Report report_{&rows_};
    QStringList trace_;
};

} // namespace reporttest
