#include "paradox/sql_transaction.h"

#include "core/error.h"
#include "paradox/sql_table_cache.h"

#include <optional>

namespace paradox::sql {
namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

void Transaction::begin()
{
    if (open_)
        throw SkelvoError(QStringLiteral("トランザクションは既に始まっています。"));
    open_ = true;
}

void Transaction::commit()
{
    requireOpen();
    try {
        for (CachedTable* table : std::as_const(joined_)) {
            table->table.commit();
            cache_.committed(*table);
        }
    } catch (const SkelvoError&) {
        rollBack(); // the tables not yet committed
        throw;
    }
    end();
}

void Transaction::rollBack()
{
    requireOpen();
    std::optional<SkelvoError> failure;
    for (CachedTable* table : std::as_const(joined_)) {
        try {
            if (table->table.inTransaction())
                table->table.rollBack();
        } catch (const SkelvoError& error) {
            failure = error; // its journal stays: the next opening rolls it back
        }
        cache_.invalidate(*table);
    }
    end();
    if (failure)
        throw *failure;
}

void Transaction::savepoint(const QString& name)
{
    requireOpen();
    // A savepoint of the same name is replaced: the tables let go of it.
    for (const auto& [oldName, oldMarks] : std::as_const(savepoints_)) {
        if (!sameName(oldName, name))
            continue;
        for (auto mark = oldMarks.begin(); mark != oldMarks.end(); ++mark)
            mark.key()->table.releaseSavepoint(mark.value());
    }
    savepoints_.removeIf([&](const auto& savepoint) { return sameName(savepoint.first, name); });
    Marks marks;
    for (CachedTable* table : std::as_const(joined_))
        marks.insert(table, table->table.savepoint());
    savepoints_.append({name, marks});
}

void Transaction::rollBackTo(const QString& name)
{
    requireOpen();
    const auto found =
        std::find_if(savepoints_.begin(), savepoints_.end(),
                     [&](const auto& savepoint) { return sameName(savepoint.first, name); });
    if (found == savepoints_.end())
        throw SkelvoError(QStringLiteral("セーブポイント %1 がありません。").arg(name));
    const Marks marks = found->second;
    savepoints_.erase(found + 1, savepoints_.end());
    for (CachedTable* table : std::as_const(joined_)) {
        // A table that joined after the savepoint goes back to where it began.
        table->table.rollBackTo(marks.value(table, 0));
        cache_.invalidate(*table);
    }
}

bool Transaction::join(CachedTable& table)
{
    if (!open_ || table.table.inTransaction())
        return false;
    table.table.beginTransaction();
    joined_.append(&table);
    return true;
}

void Transaction::refuseDefinition() const
{
    if (open_)
        throw SkelvoError(QStringLiteral(
            "トランザクションの中ではテーブルを作ることも削除することもできません。"));
}

void Transaction::requireOpen() const
{
    if (!open_)
        throw SkelvoError(QStringLiteral("トランザクションが始まっていません。"));
}

void Transaction::end()
{
    open_ = false;
    joined_.clear();
    savepoints_.clear();
}

} // namespace paradox::sql
