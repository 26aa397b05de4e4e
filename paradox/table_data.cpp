#include "paradox/table_data.h"

#include "paradox/table_error.h"
#include "paradox/table_files.h"

#include <QFileInfo>

namespace paradox::codec {

std::unique_ptr<QIODevice> TableState::openForReading(const QString& filePath) const
{
    if (transaction)
        return transaction->pending().view(filePath);
    auto file = std::make_unique<QFile>(filePath);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        raiseTableError(QFileInfo(filePath).fileName(), file->errorString());
    return file;
}

void TableState::refresh(QIODevice& file)
{
    const TableHeader current = readTableHeader(file, fileName);
    if (!current.sameLayout(header))
        fail(QStringLiteral("開いた後にフィールドが変わりました。開き直してください。"));
    takeHeader(current);
}

void TableState::takeHeader(const TableHeader& current)
{
    header = current;
    info.formatVersion = header.formatVersion;
    info.keyed = header.keyed();
    info.encrypted = header.encrypted;
    info.codePage = codePage.number();
    info.nextAutoIncrement = qint64(header.autoIncrement) + 1;
    info.recordSize = header.recordSize;
    info.blockSize = header.blockSize;
    info.recordCount = header.recordCount;
}

void TableState::forgetWrites()
{
    refresh(*openForReading(path));
    openSubBlock = 0;
    chain.forget();
}

void TableState::checkRowSize(const Row& row) const
{
    if (row.size() != fields.size())
        fail(QStringLiteral("値の数 %1 がフィールドの数 %2 と違います。")
                 .arg(row.size())
                 .arg(fields.size()));
}

bool TableState::hasBlobFields() const
{
    for (const FieldLayout& field : header.fields) {
        if (isBlobType(field.type))
            return true;
    }
    return false;
}

QString TableState::memoPath() const
{
    if (!hasBlobFields())
        return {};
    return transaction ? transaction->memoPath() : existingMemoPath(path);
}

std::unique_ptr<MemoFile> TableState::openMemoFile() const
{
    const QString memo = memoPath();
    if (memo.isEmpty())
        return nullptr;
    return std::make_unique<MemoFile>(openForReading(memo), QFileInfo(memo).fileName());
}

TableTransaction& TableState::openTransaction() const
{
    if (!transaction)
        fail(QStringLiteral("トランザクションが始まっていません。"));
    return *transaction;
}

void TableState::fail(const QString& problem) const
{
    raiseTableError(fileName, problem);
}

} // namespace paradox::codec
