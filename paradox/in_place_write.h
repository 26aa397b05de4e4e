#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace paradox::codec {

class PendingWrites;

// The changes of one write in place (an append or an update), grouped in
// named steps. Running it saves the regions it will change in the rollback
// journal, changes the files step by step and, for a write of its own,
// removes the journal: a stop at any point leaves a journal that restores the
// old table.
//
// A write of its own flushes only its journal to disk before the files are
// touched: flushing the files as well, so that a power cut just after a write
// would keep it, more than doubled the time of an append. A write within a
// transaction goes to the transaction's pending writes, which its commit
// journals and writes at once.
class InPlaceWrite
{
public:
    explicit InPlaceWrite(QString tablePath);

    // Adds a change to the current step.
    void put(const QString& filePath, qint64 offset, const QByteArray& bytes);
    // Closes the current step under a name the step hook is told.
    void endStep(const char* step);

    // Runs the write with a journal of its own, or into a transaction's
    // pending writes.
    void run(PendingWrites* transaction = nullptr);

private:
    struct Change
    {
        QString path;
        qint64 offset = 0;
        QByteArray bytes;
    };
    struct Step
    {
        const char* name = nullptr;
        QList<Change> changes;
    };

    QString tablePath_;
    QList<Step> steps_;
    QList<Change> current_;
};

} // namespace paradox::codec
