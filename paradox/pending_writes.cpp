#include "paradox/pending_writes.h"

#include "core/error.h"
#include "paradox/open_files.h"
#include "paradox/rollback_journal.h"

#include <QFileInfo>
#include <cstring>
#include <limits>

namespace paradox::codec {
namespace {

constexpr qint64 PageSize = 4096;

[[noreturn]] void cannot(const QString& verb, const QFile& file)
{
    throw SkelvoError(QStringLiteral("%1 %2: %3")
                          .arg(QFileInfo(file.fileName()).fileName(), verb, file.errorString()));
}

// A file as its transaction has it, for the readers and writers of tables.
class PendingView : public QIODevice
{
public:
    PendingView(PendingWrites& writes, QString path) : writes_(writes), path_(std::move(path))
    {
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return writes_.size(path_); }

protected:
    // Errors come back as a device's do, not as exceptions through Qt.
    qint64 readData(char* data, qint64 length) override
    {
        return failing([&] { return writes_.read(path_, pos(), data, length); });
    }

    qint64 writeData(const char* data, qint64 length) override
    {
        return failing([&] {
            writes_.write(path_, pos(), QByteArrayView(data, length));
            return length;
        });
    }

private:
    template <typename Work> qint64 failing(Work work)
    {
        try {
            return work();
        } catch (const SkelvoError& error) {
            setErrorString(error.message());
            return -1;
        }
    }

    PendingWrites& writes_;
    QString path_;
};

// The end of the run of pages with consecutive numbers that starts at
// `page`, at most `most` long.
template <typename Pages>
Pages runEnd(Pages page, Pages end, qint64 most = std::numeric_limits<qint64>::max())
{
    for (qint64 number = page->first; page != end && page->first == number && most > 0;
         ++number, --most)
        ++page;
    return page;
}

} // namespace

std::unique_ptr<QIODevice> PendingWrites::view(const QString& path)
{
    return std::make_unique<PendingView>(*this, path);
}

PendingWrites::File& PendingWrites::file(const QString& path)
{
    const auto found = files_.find(path);
    if (found != files_.end())
        return *found;
    const qint64 size = disk(path).size();
    return *files_.insert(path, File{size, size, size, {}});
}

QFile& PendingWrites::disk(const QString& path)
{
    std::unique_ptr<QFile>& opened = disk_[path];
    if (!opened) {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            disk_.erase(path);
            cannot(QStringLiteral("を開けません"), *file);
        }
        opened = std::move(file);
    }
    return *opened;
}

void PendingWrites::readDisk(const QString& path, qint64 offset, char* data, qint64 length)
{
    constexpr qint64 ReadAheadSize = 256 * 1024;
    if (length <= 0)
        return;
    ReadAhead& ahead = readAhead_;
    const bool held = ahead.path == path && offset >= ahead.offset &&
                      offset + length <= ahead.offset + ahead.bytes.size();
    if (!held) {
        QFile& file = disk(path);
        if (!file.seek(offset))
            cannot(QStringLiteral("を読めません"), file);
        ahead.path = path;
        ahead.offset = offset;
        ahead.bytes = file.read(qMax(length, ReadAheadSize));
        if (ahead.bytes.size() < length) {
            ahead.bytes.clear();
            cannot(QStringLiteral("を読めません"), file);
        }
    }
    std::memcpy(data, ahead.bytes.constData() + (offset - ahead.offset), size_t(length));
}

qint64 PendingWrites::size(const QString& path)
{
    return file(path).size;
}

QByteArray& PendingWrites::page(const QString& path, File& file, qint64 number)
{
    const auto found = file.pages.find(number);
    if (found != file.pages.end())
        return found->second;
    QByteArray bytes(PageSize, '\0');
    const qint64 start = number * PageSize;
    const qint64 onDisk = qBound(qint64(0), file.diskReach - start, PageSize);
    readDisk(path, start, bytes.data(), onDisk);
    return file.pages.emplace(number, bytes).first->second;
}

qint64 PendingWrites::read(const QString& path, qint64 offset, char* data, qint64 length)
{
    File& pending = file(path);
    const qint64 end = qMin(offset + length, pending.size);
    qint64 at = offset;
    while (at < end) {
        const qint64 number = at / PageSize;
        const auto next = pending.pages.lower_bound(number);
        if (next != pending.pages.end() && next->first == number) {
            const qint64 stop = qMin(end, (number + 1) * PageSize);
            std::memcpy(data + (at - offset), next->second.constData() + at % PageSize,
                        size_t(stop - at));
            at = stop;
            continue;
        }
        // Up to the next pending page, in one read; past the disk's reach
        // the file holds zeros.
        const qint64 stop = next == pending.pages.end() ? end : qMin(end, next->first * PageSize);
        const qint64 fromDisk = qBound(qint64(0), pending.diskReach - at, stop - at);
        readDisk(path, at, data + (at - offset), fromDisk);
        std::memset(data + (at - offset) + fromDisk, 0, size_t(stop - at - fromDisk));
        at = stop;
    }
    return qMax(qint64(0), end - offset);
}

void PendingWrites::write(const QString& path, qint64 offset, QByteArrayView bytes)
{
    File& pending = file(path);
    qint64 at = offset;
    const qint64 end = offset + bytes.size();
    while (at < end) {
        const qint64 number = at / PageSize;
        const qint64 stop = qMin(end, (number + 1) * PageSize);
        keepForMark(path, pending, number);
        QByteArray& target = page(path, pending, number);
        std::memcpy(target.data() + at % PageSize, bytes.data() + (at - offset), size_t(stop - at));
        at = stop;
    }
    pending.size = qMax(pending.size, end);
}

void PendingWrites::resize(const QString& path, qint64 size)
{
    File& pending = file(path);
    keepForMark(path, pending, std::nullopt);
    if (size < pending.size) {
        const auto cut = pending.pages.lower_bound((size + PageSize - 1) / PageSize);
        for (auto dropped = cut; dropped != pending.pages.end(); ++dropped)
            keepForMark(path, pending, dropped->first);
        pending.pages.erase(cut, pending.pages.end());
        if (const qint64 kept = size % PageSize; kept != 0) {
            keepForMark(path, pending, size / PageSize);
            QByteArray& last = page(path, pending, size / PageSize);
            std::memset(last.data() + kept, 0, size_t(PageSize - kept));
        }
        pending.diskReach = qMin(pending.diskReach, size);
    }
    pending.size = size;
}

qint64 PendingWrites::heldBytes() const
{
    qint64 pages = 0;
    for (const File& file : files_)
        pages += qint64(file.pages.size());
    return pages * PageSize;
}

void PendingWrites::clear()
{
    files_.clear();
    disk_.clear();
    readAhead_ = {};
    marks_.clear();
}

bool PendingWrites::isEmpty() const
{
    return std::all_of(files_.begin(), files_.end(), [](const File& file) {
        return file.pages.empty() && file.size == file.sizeOnDisk;
    });
}

QList<FileRegion> PendingWrites::regionsToSave() const
{
    QList<FileRegion> regions;
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        for (auto page = it->pages.begin(); page != it->pages.end();) {
            const auto end = runEnd(page, it->pages.end());
            regions.append(
                {it.key(), page->first * PageSize, qint64(std::distance(page, end)) * PageSize});
            page = end;
        }
        if (it->diskReach < it->sizeOnDisk)
            regions.append({it.key(), it->diskReach, it->sizeOnDisk - it->diskReach});
    }
    return regions;
}

QStringList PendingWrites::writeTo(OpenFiles& files) const
{
    QStringList written;
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        if (it->pages.empty() && it->size == it->sizeOnDisk)
            continue;
        QFile& target = files.file(it.key());
        // Bytes the transaction cut off read as zeros wherever it did not
        // write again.
        if (it->diskReach < it->sizeOnDisk && !target.resize(it->diskReach))
            cannot(QStringLiteral("に書き込めません"), target);
        // Consecutive pages go out together, a megabyte at most at a time.
        // Every page starts within the file: a file made shorter drops those
        // past its end.
        constexpr qint64 PagesAtOnce = 256;
        for (auto page = it->pages.begin(); page != it->pages.end();) {
            const auto end = runEnd(page, it->pages.end(), PagesAtOnce);
            const qint64 start = page->first * PageSize;
            QByteArray run;
            run.reserve(std::distance(page, end) * PageSize);
            for (; page != end; ++page)
                run += page->second;
            run.truncate(qMin(qint64(run.size()), it->size - start));
            if (!target.seek(start) || target.write(run) != run.size())
                cannot(QStringLiteral("に書き込めません"), target);
        }
        if (target.size() != it->size && !target.resize(it->size))
            cannot(QStringLiteral("に書き込めません"), target);
        files.wrote(it.key());
        written.append(it.key());
    }
    return written;
}

int PendingWrites::mark()
{
    marks_.append(Mark{++lastMark_, {}});
    return lastMark_;
}

QList<PendingWrites::Mark>::iterator PendingWrites::findMark(int mark)
{
    const auto found = std::find_if(marks_.begin(), marks_.end(),
                                    [&](const Mark& kept) { return kept.number == mark; });
    if (found == marks_.end())
        throw SkelvoError(QStringLiteral("戻る位置 %1 がありません。").arg(mark));
    return found;
}

void PendingWrites::keepForMark(const QString& path, const File& file, std::optional<qint64> page)
{
    if (marks_.isEmpty())
        return;
    QHash<QString, FileBefore>& kept = marks_.last().files;
    auto before = kept.find(path);
    if (before == kept.end())
        before = kept.insert(path, FileBefore{file.size, file.diskReach, {}});
    if (page && !before->pages.contains(*page)) {
        const auto current = file.pages.find(*page);
        before->pages.emplace(*page, current == file.pages.end()
                                         ? std::nullopt
                                         : std::optional<QByteArray>(current->second));
    }
}

void PendingWrites::rollBackTo(int mark)
{
    if (mark == 0) {
        files_.clear();
        marks_.clear();
        return;
    }
    const auto target = findMark(mark);
    for (auto undone = marks_.end(); undone != target;) {
        --undone;
        for (auto before = undone->files.begin(); before != undone->files.end(); ++before) {
            File& restored = files_[before.key()];
            restored.size = before->size;
            restored.diskReach = before->diskReach;
            for (const auto& [number, bytes] : before->pages) {
                if (bytes)
                    restored.pages.insert_or_assign(number, *bytes);
                else
                    restored.pages.erase(number);
            }
        }
    }
    marks_.erase(target + 1, marks_.end());
    target->files.clear();
}

void PendingWrites::release(int mark)
{
    const auto released = findMark(mark);
    // The mark before now answers for what this one kept, where it kept
    // nothing itself: those pages did not change between the two.
    if (released != marks_.begin()) {
        QHash<QString, FileBefore>& earlier = std::prev(released)->files;
        for (auto before = released->files.begin(); before != released->files.end(); ++before) {
            const auto found = earlier.find(before.key());
            if (found == earlier.end()) {
                earlier.insert(before.key(), *before);
                continue;
            }
            for (const auto& [number, bytes] : before->pages)
                found->pages.try_emplace(number, bytes);
        }
    }
    marks_.erase(released);
}

} // namespace paradox::codec
