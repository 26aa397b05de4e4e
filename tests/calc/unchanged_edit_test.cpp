#include "tests/calc/logbook_fixture.h"

namespace {

using UnchangedEdit = logbook::LogbookTest;

// A recalculation or a dialog may put a row into edit state and post it
// without changing anything; that must not become a change held for the
// store.
TEST_F(UnchangedEdit, OnlyAnEditThatChangesAValueIsHeld)
{
    const struct
    {
        const char* name;
        QStringList crews; // typed one after the other while editing
        int held;
    } cases[] = {
        {"nothing typed", {}, 0},
        {"the same value typed again", {"a"}, 0},
        {"changed and changed back", {"b", "a"}, 0},
        {"changed", {"b"}, 1},
    };
    exec("INSERT INTO t (ct, sb, crew) VALUES (1, 0, 'a')");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        rows_.setWriteBack(DataSet::WriteBack::Cached);
        rows_.edit();
        for (const QString& crew : c.crews)
            rows_.setValue(u"crew", crew);
        rows_.post();
        EXPECT_EQ(rows_.state(), DataSet::State::Browse);
        EXPECT_EQ(rows_.changeCount(), c.held);
        rows_.applyUpdates();
        rows_.setWriteBack(DataSet::WriteBack::Immediate);
        exec("UPDATE t SET crew = 'a'");
    }
}

} // namespace
