// A journal found beside a table, as anyone could have written it: opening
// the table rolls it back or refuses it with SkelvoError, and touches no
// file but the table's own, which it never grows past the bytes it had or
// the journal brought.
#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/journal_table.h"
#include "paradox/paradox_table.h"
#include "paradox/rollback_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    fuzzsupport::require(file.open(QIODevice::ReadOnly), "a file of the folder can be read");
    return file.readAll();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    fuzzsupport::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             file.write(bytes) == bytes.size(),
                         "a file of the folder can be written");
}

// The folder with the table, a file beside it and one above it, each as
// it was made.
struct Folder
{
    QTemporaryDir root;
    QString table;
    QString memo;
    QByteArray tableBytes;
    QByteArray memoBytes;

    Folder()
    {
        fuzzsupport::require(root.isValid(), "a scratch folder");
        table = journaltable::make(root.path());
        memo = QDir(root.filePath(QStringLiteral("store"))).filePath(QStringLiteral("T.MB"));
        tableBytes = read(table);
        memoBytes = read(memo);
        write(root.filePath(QStringLiteral("outside.txt")), "precious");
        write(root.filePath(QStringLiteral("store/OTHER.DB")), "another table");
    }

    QStringList entries(const QString& sub) const
    {
        return QDir(root.filePath(sub))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDir::Name);
    }
};

// Anyone can checksum a journal: parts whose checksums are put right reach
// the checks behind them, as a planted journal would.
QByteArray withChecksumsPutRight(QByteArray journal)
{
    constexpr qsizetype Heading = 8;
    const QByteArray magic = journal.left(Heading);
    const int checksumSize = int(paradox::codec::partChecksum(magic, {}).size());
    qsizetype at = Heading;
    while (journal.size() - at >= Heading + checksumSize) {
        const qint64 bodySize = qFromBigEndian<qint64>(journal.constData() + at);
        if (bodySize < 0 || bodySize > journal.size() - at - Heading - checksumSize)
            break;
        const QByteArray sum = paradox::codec::partChecksum(
            magic, QByteArrayView(journal.constData() + at + Heading, bodySize));
        journal.replace(at + Heading + bodySize, checksumSize, sum);
        at += Heading + bodySize + checksumSize;
    }
    return journal;
}

} // namespace

// The first byte chooses whether the checksums are put right; the rest is
// the journal.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Folder folder;
    if (size == 0)
        return 0;
    QByteArray journal(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);
    if (data[0] & 1)
        journal = withChecksumsPutRight(journal);
    write(folder.table, folder.tableBytes);
    write(folder.memo, folder.memoBytes);
    write(folder.table + QStringLiteral(".journal"), journal);
    try {
        paradox::Table::open(folder.table).readAll();
    } catch (const SkelvoError&) {
    }
    using fuzzsupport::require;
    require(read(folder.root.filePath(QStringLiteral("outside.txt"))) == "precious",
            "the file above the table is untouched");
    require(read(folder.root.filePath(QStringLiteral("store/OTHER.DB"))) == "another table",
            "the file beside the table is untouched");
    require(folder.entries(QStringLiteral(".")) == QStringList{"outside.txt", "store"},
            "no file appears above the table");
    QStringList own = folder.entries(QStringLiteral("store"));
    own.removeAll(QStringLiteral("T.DB.journal"));
    own.removeAll(QStringLiteral("T.DB.lock"));
    require(own == QStringList{"OTHER.DB", "T.DB", "T.MB"}, "no file appears beside the table");
    const qint64 limit = qint64(size) + qMax(folder.tableBytes.size(), folder.memoBytes.size());
    require(QFileInfo(folder.table).size() <= limit && QFileInfo(folder.memo).size() <= limit,
            "the table grows only by bytes the journal brought");
    QFile::remove(folder.table + QStringLiteral(".journal"));
    return 0;
}
