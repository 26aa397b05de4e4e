#pragma once

#include "data/data_set.h"
#include "print/band_layout.h"
#include "report/page_model.h"
#include "tests/testsupport/temp_folder.h"

#include <QPointF>
#include <QStringList>
#include <gtest/gtest.h>
#include <span>
#include <vector>

namespace printtest {

// One row of a test logbook, with what the three logs read.
struct Entry
{
    int pageno = 0;
    int e_pageno = 0;
    int p_pageno = 0;
    int ovh = 0;
    int e_ovh = 0;
    int p_ovh = 0;
    const char* yyyy = "2009";
    const char* mmdd = "0401";
    const char* crew = "山田太郎";
    const char* remarks = "";
    const char* intention = "";
    const char* depart = "";
    const char* arrive = "";
    const char* sign = "";
};

// A folder-store table "ab12" filled with entries, read in key order.
class LogReportTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the entries the table's rows (ct 1, 2, ...; every row's times
    // alike) and opens them.
    DataSet& fill(const std::vector<Entry>& entries);

    // The texts an element printed on a page, in order.
    static QStringList texts(const report::Page& page, const char* name);
    // Every element placed as the layout says, from the band's origin on
    // the paper; the number of elements compared.
    static int expectPlaced(const report::Page& page, std::span<const BandLayout::Element> layout,
                            QPointF origin);

    testsupport::TempFolder folder_;
    DataSet rows_;
};

} // namespace printtest
