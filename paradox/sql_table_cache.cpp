#include "paradox/sql_table_cache.h"

#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <filesystem>

namespace paradox::sql {
namespace {

// Names that would reach outside the folder, or that Windows cannot hold.
bool isPlainFileName(const QString& name)
{
    static const QLatin1StringView forbidden("/\\:*?\"<>|");
    if (name.isEmpty() || name.startsWith(u'.') || name.endsWith(u' '))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.unicode() < 0x20 || forbidden.contains(c); });
}

QString fileNameOf(const QString& name)
{
    if (!isPlainFileName(name))
        throw SkelvoError(QStringLiteral("テーブル名 %1 は使えません。フォルダーの区切りや"
                                         "ファイル名に使えない文字を含まない名前にしてください。")
                              .arg(name));
    return name.endsWith(QLatin1StringView(".db"), Qt::CaseInsensitive)
               ? name
               : name + QLatin1StringView(".DB");
}

QString keyOf(const QString& fileName)
{
    return fileName.toCaseFolded();
}

QDir folderDir(const QString& folder)
{
    QDir dir(folder);
    if (!dir.exists())
        throw SkelvoError(QStringLiteral("フォルダー %1 がありません。").arg(folder));
    return dir;
}

FileStamp stampOf(const QString& path)
{
    const std::filesystem::path file(path.toStdU16String());
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return {};
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error)
        return {};
    // The fixed part of the header: record and block counters, the change
    // count and the time of the last change.
    constexpr qint64 HeadSize = 0x68;
    QFile head(path);
    if (!head.open(QIODevice::ReadOnly))
        return {};
    return {qint64(size), qint64(modified.time_since_epoch().count()), head.read(HeadSize)};
}

// Writes made by this process, counted per file, so that two engines on one
// folder see each other's changes even within one tick of the file clock.
QMutex generationsMutex;
std::unordered_map<QString, quint64> generations;

quint64 generationOf(const QString& path)
{
    const QMutexLocker lock(&generationsMutex);
    const auto found = generations.find(path);
    return found == generations.end() ? 0 : found->second;
}

quint64 nextGeneration(const QString& path)
{
    const QMutexLocker lock(&generationsMutex);
    return ++generations[path];
}

} // namespace

TableCache::TableCache(QString folder) : folder_(QDir::cleanPath(QDir(folder).absolutePath())) {}

CachedTable& TableCache::table(const QString& name)
{
    const QString key = keyOf(fileNameOf(name));
    const auto found = tables_.find(key);
    if (found != tables_.end()) {
        CachedTable& cached = *found->second;
        if (cached.table.inTransaction()) {
            if (cached.stale)
                readAgain(cached);
            return cached;
        }
        if (!cached.stale && stampOf(cached.path) == cached.stamp &&
            generationOf(cached.path) == cached.generation)
            return *found->second;
        tables_.erase(found);
    }
    std::unique_ptr<CachedTable> fresh = read(existingPath(name));
    CachedTable& result = *fresh;
    tables_[key] = std::move(fresh);
    return result;
}

QString TableCache::existingPath(const QString& name) const
{
    const QString fileName = fileNameOf(name);
    const QDir dir = folderDir(folder_);
    QStringList matches;
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (entry == fileName)
            return dir.filePath(entry);
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            matches.append(entry);
    }
    if (matches.size() > 1)
        throw SkelvoError(
            QStringLiteral(
                "テーブル %1 に当たるファイルが、大文字と小文字の違いで %2 つあります: %3")
                .arg(fileName, QString::number(matches.size()),
                     matches.join(QStringLiteral(", "))));
    if (matches.isEmpty())
        throw SkelvoError(QStringLiteral("テーブル %1 がありません。").arg(fileName));
    return dir.filePath(matches.first());
}

std::unique_ptr<CachedTable> TableCache::read(const QString& path) const
{
    // Stamped before reading: a write meanwhile makes the next statement
    // read again rather than keep an old copy.
    const FileStamp stamp = stampOf(path);
    const quint64 generation = generationOf(path);
    Table table = Table::open(path);
    QList<Record> records = table.readAll();
    auto cached = std::unique_ptr<CachedTable>(new CachedTable{QFileInfo(path).completeBaseName(),
                                                               path,
                                                               std::move(table),
                                                               std::move(records),
                                                               stamp,
                                                               generation,
                                                               false,
                                                               {}});
    indexRowNumbers(*cached);
    return cached;
}

// The rows' numbers are what the program names its rows by: their index
// is made as the table is read, not by the first statement that names one.
void TableCache::indexRowNumbers(CachedTable& table)
{
    const QList<Field>& fields = table.table.fields();
    for (int field = 0; field < fields.size(); ++field) {
        if (fields[field].type == FieldType::AutoIncrement)
            table.indexes.emplace(field, RowIndex(table.records, field));
    }
}

QString TableCache::newTablePath(const QString& name) const
{
    const QString fileName = fileNameOf(name);
    const QDir dir = folderDir(folder_);
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            throw SkelvoError(QStringLiteral("テーブル %1 は既にあります。").arg(entry));
    }
    return dir.filePath(fileName);
}

QStringList TableCache::tableNames() const
{
    QStringList names;
    for (const QFileInfo& entry : folderDir(folder_).entryInfoList(QDir::Files)) {
        if (entry.suffix().compare(QLatin1StringView("db"), Qt::CaseInsensitive) == 0)
            names.append(entry.completeBaseName());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

void TableCache::readAgain(CachedTable& table)
{
    table.indexes.clear();
    table.records = table.table.readAll();
    indexRowNumbers(table);
    table.stale = false;
}

void TableCache::wrote(CachedTable& table)
{
    if (!table.table.inTransaction())
        committed(table);
}

void TableCache::committed(CachedTable& table)
{
    table.generation = nextGeneration(table.path);
    table.stamp = stampOf(table.path);
}

const RowIndex& TableCache::index(CachedTable& table, int field)
{
    auto found = table.indexes.find(field);
    if (found == table.indexes.end())
        found = table.indexes.emplace(field, RowIndex(table.records, field)).first;
    return found->second;
}

void TableCache::appended(CachedTable& table, RecordPosition position, const Row& row)
{
    const Row stored = table.table.storedForm(row);
    for (auto& [field, index] : table.indexes)
        index.added(table.records.size(), stored);
    table.records.append({position, stored});
    wrote(table);
}

void TableCache::updated(CachedTable& table, qsizetype index, Row row, const QList<int>& fields)
{
    table.table.toStoredForm(row, fields);
    for (auto& [field, rows] : table.indexes)
        rows.changed(index, table.records[index].values, row);
    table.records[index].values = std::move(row);
    wrote(table);
}

void TableCache::rewritten(CachedTable& table)
{
    wrote(table);
    table.stale = true; // until the new positions are read
    readAgain(table);
}

void TableCache::requireUnchanged(CachedTable& table)
{
    if (!table.stale && stampOf(table.path) == table.stamp &&
        generationOf(table.path) == table.generation)
        return;
    invalidate(table);
    throw SkelvoError(QStringLiteral("テーブル %1 は読んだ後にほかで変更されました。もう一度"
                                     "実行してください。")
                          .arg(table.name));
}

void TableCache::invalidate(CachedTable& table)
{
    table.stale = true;
}

void TableCache::forget(const QString& path)
{
    nextGeneration(path);
    std::erase_if(tables_, [&](const auto& entry) { return entry.second->path == path; });
}

} // namespace paradox::sql
