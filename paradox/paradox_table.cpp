#include "paradox/paradox_table.h"

#include "core/error.h"
#include "paradox/block_chain.h"
#include "paradox/field_reading.h"
#include "paradox/field_writing.h"
#include "paradox/memo_file.h"
#include "paradox/memo_writer.h"
#include "paradox/rollback_journal.h"
#include "paradox/step_hook.h"
#include "paradox/table_data.h"
#include "paradox/table_definition.h"
#include "paradox/table_error.h"
#include "paradox/table_files.h"
#include "paradox/table_lock.h"

#include <QFileInfo>
#include <QSaveFile>

namespace paradox {

using namespace codec;

namespace {

// Rolls back a write that another run of the program left unfinished, under
// the lock, so that a write going on right now is not undone.
void rollBackLeftover(const QString& path)
{
    if (!QFile::exists(journalPath(path)))
        return;
    TableLock lock(path);
    rollBack(path);
}

void saveNewFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw SkelvoError(QStringLiteral("%1 を作れません: %2")
                              .arg(QFileInfo(path).fileName(), file.errorString()));
}

} // namespace

Table::Table(std::unique_ptr<Data> data) : d(std::move(data)) {}
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;
Table::~Table()
{
    if (d && d->transaction) {
        try {
            rollBack();
        } catch (const SkelvoError&) {
            // The journal stays; the next opening of the table rolls it back.
        }
    }
}

Table Table::open(const QString& path)
{
    auto d = std::make_unique<Data>();
    d->path = QFileInfo(path).absoluteFilePath();
    d->fileName = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        d->fail(QStringLiteral("ファイルがありません。"));
    rollBackLeftover(d->path);

    const std::unique_ptr<QIODevice> opened = d->openForReading(d->path);
    QIODevice& file = *opened;
    const TableHeader header = readTableHeader(file, d->fileName);
    d->codePage = CodePage(header.codePage);
    for (const FieldLayout& layout : header.fields) {
        Field field;
        try {
            field.name = d->codePage.decode(layout.name);
        } catch (const SkelvoError& error) {
            d->fail(QStringLiteral("フィールド名: %1").arg(error.message()));
        }
        field.type = layout.type;
        field.size = layout.size;
        d->fields.append(field);
    }
    d->takeHeader(header);
    if (!header.encrypted) // its blocks cannot be read
        readBlockChain(file, header, d->fileName);
    return Table(std::move(d));
}

Table Table::create(const QString& path, const QList<Field>& fields, int codePage)
{
    const QString fileName = QFileInfo(path).fileName();
    const CodePage text(codePage);
    if (text.number() != codePage)
        throw SkelvoError(QStringLiteral("テーブル %1 を作れません: コードページ %2 は使えません。")
                              .arg(fileName, QString::number(codePage)));
    const QList<FieldLayout> layouts = layoutFields(fields, text);
    bool hasMemo = false;
    for (const FieldLayout& layout : layouts)
        hasMemo = hasMemo || layout.type == FieldType::Memo;
    const QByteArray header = newTableHeader(layouts, text.encodeCut(fileName, MaxTableNameBytes),
                                             codePage, NewTableBlockSize);
    {
        TableLock lock(path);
        if (QFileInfo::exists(path) || !sameNameTables(path).isEmpty())
            throw SkelvoError(
                QStringLiteral("テーブル %1 を作れません: 同じ名前のテーブルがあります。")
                    .arg(fileName));
        if (hasMemo) {
            const QString memoPath = existingMemoPath(path);
            saveNewFile(memoPath.isEmpty() ? newMemoPath(path) : memoPath, newMemoFile());
        }
        saveNewFile(path, header);
    }
    return open(path);
}

void Table::drop(const QString& path)
{
    const QFileInfo table(path);
    if (!table.isFile())
        raiseTableError(table.fileName(), QStringLiteral("ファイルがありません。"));
    TableLock lock(path);
    QFile::remove(journalPath(path)); // an unfinished write no longer matters
    for (const QString& file : QStringList{path} + existingCompanions(path)) {
        if (!QFile::remove(file))
            raiseTableError(QFileInfo(file).fileName(),
                            QStringLiteral("ファイルを削除できません。"));
    }
}

const QString& Table::path() const
{
    return d->path;
}

const QList<Field>& Table::fields() const
{
    return d->fields;
}

const TableInfo& Table::info() const
{
    return d->info;
}

QList<Record> Table::readAll() const
{
    if (!d->transaction)
        rollBackLeftover(d->path);
    const std::unique_ptr<QIODevice> opened = d->openForReading(d->path);
    QIODevice& file = *opened;
    d->refresh(file);
    if (d->header.encrypted)
        d->fail(QStringLiteral("暗号化 (パスワード保護) されたテーブルは読めません。"));

    const QList<DataBlock> chain = readBlockChain(file, d->header, d->fileName);
    d->chain.know(chain, d->header, file.size());
    const std::unique_ptr<MemoFile> memo = d->openMemoFile();

    QList<Record> records;
    const int recordSize = d->header.recordSize;
    for (const DataBlock& block : chain) {
        const qint64 first = recordOffset(block, 0, recordSize);
        if (!file.seek(first))
            d->fail(file.errorString());
        const QByteArray data = file.read(qint64(block.recordCount) * recordSize);
        if (data.size() != qint64(block.recordCount) * recordSize)
            d->fail(QStringLiteral("ブロック %1 を読めません。").arg(block.number));
        for (int i = 0; i < block.recordCount; ++i) {
            Record record;
            record.position = first + qint64(i) * recordSize;
            record.values = readRecord(d->header, d->fields, data.constData() + i * recordSize,
                                       d->codePage, memo.get(), d->fileName);
            records.append(record);
        }
    }
    return records;
}

void Table::checkWritable() const
{
    if (d->header.keyed())
        d->fail(QStringLiteral("キー付きのテーブルには書き込めません (主索引 .PX をレコードに"
                               "合わせて直せないためです)。"));
    if (d->header.encrypted)
        d->fail(QStringLiteral("暗号化 (パスワード保護) されたテーブルには書き込めません。"));
    for (const Field& field : d->fields) {
        if (!writesType(field.type))
            d->fail(QStringLiteral("フィールド「%1」の型 (%2) には書き込めないため、このテーブル"
                                   "には書き込めません。")
                        .arg(field.name, typeLetter(field.type)));
    }
}

void Table::beginTransaction()
{
    if (d->transaction)
        d->fail(QStringLiteral("トランザクションは既に始まっています。"));
    d->transaction = std::make_unique<TableTransaction>(d->path);
    d->refresh(*d->openForReading(d->path));
}

bool Table::inTransaction() const
{
    return bool(d->transaction);
}

void Table::commit()
{
    d->openTransaction().commit();
    d->transaction.reset();
}

void Table::rollBack()
{
    d->openTransaction();
    const std::unique_ptr<TableTransaction> transaction = std::move(d->transaction);
    transaction->rollBack();
    d->forgetWrites();
}

int Table::savepoint()
{
    return d->openTransaction().pending().mark();
}

void Table::rollBackTo(int savepoint)
{
    d->openTransaction().rollBackTo(savepoint);
    d->forgetWrites();
}

void Table::releaseSavepoint(int savepoint)
{
    d->openTransaction().pending().release(savepoint);
}

void Table::setStepHook(StepHook hook)
{
    installStepHook(std::move(hook));
}

void Table::setSyncHook(SyncHook hook)
{
    installSyncHook(std::move(hook));
}

void Table::setPendingLimit(qint64 bytes)
{
    TableTransaction::setPendingLimit(bytes);
}

} // namespace paradox
