#pragma once

#include "app/grid/fix_db_grid.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "tests/testsupport/temp_folder.h"

#include <QModelIndex>
#include <QPoint>
#include <gtest/gtest.h>
#include <memory>

class FrozenColumnView;

namespace gridtest {

// A shown grid over five flights in a folder-store table with four
// columns (ct, crew, place, memo), each 100 pixels wide.
class GridTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    TFixDBGrid& grid() { return *grid_; }
    FrozenColumnView* frozenView();
    QModelIndex cell(int row, int column);
    void clickCell(int row, int column);
    void clickTitle(int column);
    QPoint titleCentre(int column);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Points the cursor at a cell the way a user does.
    void startAt(int row, int column);
    int currentRow() { return grid_->currentIndex().row(); }
    int currentColumn() { return grid_->currentIndex().column(); }

    testsupport::TempFolder folder_;
    DataSet rows_;
    DataSource source_;
    std::unique_ptr<TFixDBGrid> grid_;
};

} // namespace gridtest
