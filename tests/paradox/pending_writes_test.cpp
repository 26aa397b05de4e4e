// A transaction's pending writes, read back, taken back to marks and
// committed, give exactly what the same writes give on a plain copy of the
// bytes, and what they journal puts the file back as it was.
#include "paradox/open_files.h"
#include "paradox/pending_writes.h"
#include "paradox/rollback_journal.h"
#include "tests/testsupport/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace paradox::codec;

QByteArray randomBytes(std::mt19937& random, qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Pages are 4 KiB: sizes and offsets are drawn across several of them.
qsizetype upTo(std::mt19937& random, qsizetype limit)
{
    return qsizetype(random() % quint32(limit + 1));
}

TEST(PendingWrites, ReadBackRollBackAndCommitMatchPlainBytes)
{
    std::mt19937 random(20261210u);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        testsupport::TempFolder folder;
        const QString path = folder.filePath(QStringLiteral("T.DB"));
        const QByteArray disk = randomBytes(random, upTo(random, 5 * 4096 + 100));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(disk);
        }
        PendingWrites pending;
        const std::unique_ptr<QIODevice> view = pending.view(path);
        QByteArray model = disk;
        QList<QPair<int, QByteArray>> marks; // oldest first, with the bytes at each
        for (int step = 0; step < 80; ++step) {
            switch (random() % 8) {
            case 0:
            case 1:
            case 2: {
                const qsizetype offset = upTo(random, model.size() + 4096);
                const QByteArray bytes = randomBytes(random, 1 + upTo(random, 9000));
                pending.write(path, offset, bytes);
                if (offset > model.size())
                    model.resize(offset, '\0');
                model.replace(offset, qMin(bytes.size(), model.size() - offset), bytes);
                break;
            }
            case 3: {
                const qsizetype size = upTo(random, model.size() + 5000);
                pending.resize(path, size);
                model.resize(size, '\0');
                break;
            }
            case 4:
                marks.append({pending.mark(), model});
                break;
            case 5:
                if (!marks.isEmpty()) {
                    const qsizetype back = upTo(random, marks.size() - 1);
                    pending.rollBackTo(marks[back].first);
                    model = marks[back].second;
                    marks.resize(back + 1);
                }
                break;
            case 6:
                if (!marks.isEmpty()) {
                    const qsizetype released = upTo(random, marks.size() - 1);
                    pending.release(marks[released].first);
                    marks.removeAt(released);
                }
                break;
            default:
                if (random() % 4 == 0) {
                    pending.rollBackTo(0);
                    model = disk;
                    marks.clear();
                }
            }
            ASSERT_EQ(view->size(), model.size()) << "step " << step;
            ASSERT_TRUE(view->seek(0));
            ASSERT_EQ(view->readAll(), model) << "step " << step;
        }
        ASSERT_EQ(fileBytes(path), disk) << "the file changed before the commit";

        const QList<FileRegion> regions = pending.regionsToSave();
        {
            OpenFiles files;
            pending.writeTo(files);
        }
        ASSERT_EQ(fileBytes(path), model);
        // What the journal keeps of each region, put back, restores the file.
        QByteArray undone = model;
        for (const FileRegion& region : regions) {
            const qsizetype end = qMin(region.offset + region.length, qint64(disk.size()));
            if (end <= region.offset)
                continue;
            if (undone.size() < end)
                undone.resize(end, '\0');
            undone.replace(region.offset, end - region.offset,
                           disk.mid(region.offset, end - region.offset));
        }
        undone.resize(disk.size(), '\0');
        EXPECT_EQ(undone, disk);
    }
}

} // namespace
