#pragma once

#include "data/data_set.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace logbook {

// A log row as a test writes it, in the order the row's columns are read;
// "-" is an empty cell.
struct LogRow
{
    const char* times = "- - -";     // blocktime flighttime glider
    const char* overhaul = "";       // the components flagged: a(irframe), e(ngine), p(ropeller)
    const char* airframe = "- -";    // sincema sinceov
    const char* engine = "- - - -";  // e_groundtime e_totaltime e_sincema e_sinceov
    const char* propeller = nullptr; // p_..., as the engine when not given
};

// A log table in a folder store on disk, with a row-set open on it the way
// the main window opens one.
class LogbookTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // An empty table again, the row-set closed.
    void recreateTable();
    // Rows numbered ct 1, 2, ... in the order given.
    void seed(const std::vector<LogRow>& rows);
    void open();
    void exec(const QString& sql);
    // Each row as "sincema sinceov | engine | propeller" in the LogRow
    // notation, read from the table, not from the row-set.
    QStringList stored();

    QSqlDatabase database() const;
    void createTable();

    testsupport::TempFolder folder_;
    QString connection_;
    DataSet rows_;
};

// The same notation for expected rows.
QString row(const char* airframe, const char* engine, const char* propeller = nullptr);

} // namespace logbook
