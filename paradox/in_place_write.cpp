#include "paradox/in_place_write.h"

#include "core/error.h"
#include "paradox/pending_writes.h"
#include "paradox/rollback_journal.h"
#include "paradox/step_hook.h"
#include "paradox/table_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace paradox::codec {
namespace {

[[noreturn]] void cannotWrite(const QFile& file)
{
    throw SkelvoError(QStringLiteral("%1 に書き込めません: %2")
                          .arg(QFileInfo(file.fileName()).fileName(), file.errorString()));
}

} // namespace

InPlaceWrite::InPlaceWrite(QString tablePath) : tablePath_(std::move(tablePath)) {}

void InPlaceWrite::put(const QString& filePath, qint64 offset, const QByteArray& bytes)
{
    current_.append({filePath, offset, bytes});
}

void InPlaceWrite::endStep(const char* step)
{
    steps_.append({step, current_});
    current_.clear();
}

void InPlaceWrite::run(PendingWrites* transaction)
{
    if (transaction) {
        for (const Step& step : steps_) {
            for (const Change& change : step.changes)
                transaction->write(change.path, change.offset, change.bytes);
        }
        return;
    }
    QList<FileRegion> regions;
    for (const Step& step : steps_) {
        for (const Change& change : step.changes)
            regions.append({change.path, change.offset, change.bytes.size()});
    }
    Journal journal(tablePath_);
    journal.save(regions, true);
    reachStep("journal written");

    OpenFiles& files = journal.files();
    for (const Step& step : steps_) {
        QSet<QString> written;
        for (const Change& change : step.changes) {
            QFile& file = files.file(change.path);
            if (!file.seek(change.offset) || file.write(change.bytes) != change.bytes.size())
                cannotWrite(file);
            written.insert(change.path);
        }
        // What the hook sees must be in the files, as after a crash at this point.
        for (const QString& path : std::as_const(written)) {
            files.wrote(path);
            if (!files.file(path).flush())
                cannotWrite(files.file(path));
        }
        reachStep(step.name);
    }
    journal.remove();
}

} // namespace paradox::codec
