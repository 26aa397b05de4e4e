#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace paradox::sql {

struct CachedTable;
class TableCache;

// The engine's transaction. A table joins it at its first write, taking the
// table's lock until the end; tables only read stay free for other programs.
// A savepoint remembers how far each joined table had come.
class Transaction
{
public:
    explicit Transaction(TableCache& cache) : cache_(cache) {}

    bool isOpen() const { return open_; }

    // Raise SkelvoError: begin when one is open, the others when none is.
    void begin();
    void commit();
    void rollBack();
    void savepoint(const QString& name);
    void rollBackTo(const QString& name);

    // Before a write to the table: joins it to the open transaction. True
    // when it joins now, taking the table's lock.
    bool join(CachedTable& table);

    // Statements that create or remove tables cannot be undone.
    void refuseDefinition() const;

private:
    using Marks = QHash<CachedTable*, int>;

    void requireOpen() const;
    void end();

    TableCache& cache_;
    bool open_ = false;
    QList<CachedTable*> joined_;
    QList<QPair<QString, Marks>> savepoints_; // oldest first
};

} // namespace paradox::sql
