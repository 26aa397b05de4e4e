// Writes the first inputs of the journal fuzz target into a folder: the
// journal as it stands at every step of appends, an update with memo text
// and a transaction on the target's table, as a writer killed there leaves it.
//   journal_seeds OUT-FOLDER
#include "fuzz/journal_table.h"
#include "paradox/paradox_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: journal_seeds OUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const std::pair<const char*, std::function<void(paradox::Table&)>> writes[] = {
        {"append",
         [](paradox::Table& table) {
             paradox::Row row{QVariant(), QStringLiteral("新しい滑空場"), QStringLiteral("短い")};
             table.append(row);
         }},
        {"update",
         [](paradox::Table& table) {
             const auto records = table.readAll();
             table.update(records.first().position,
                          {records.first().values.at(0), QStringLiteral("変更"),
                           QStringLiteral("長い備考 ").repeated(300)});
         }},
        {"transaction",
         [](paradox::Table& table) {
             table.beginTransaction();
             for (int n = 0; n < 3; ++n) {
                 paradox::Row row{QVariant(), QStringLiteral("追加 %1").arg(n),
                                  QStringLiteral("備考 ").repeated(n * 100)};
                 table.append(row);
             }
             table.commit();
         }},
    };
    int count = 0;
    for (const auto& [name, run] : writes) {
        QTemporaryDir folder;
        const QString path = journaltable::make(folder.path());
        paradox::Table table = paradox::Table::open(path);
        paradox::Table::setStepHook([&, name = name](const char* step) {
            QFile journal(path + QStringLiteral(".journal"));
            if (!journal.open(QIODevice::ReadOnly))
                return;
            // The target reads a first byte that asks it to put checksums right.
            QFile seed(out.filePath(QStringLiteral("%1-%2-%3")
                                        .arg(name)
                                        .arg(++count)
                                        .arg(QString::fromLatin1(step).replace(u' ', u'-'))));
            if (seed.open(QIODevice::WriteOnly))
                seed.write('\x01' + journal.readAll());
        });
        run(table);
        paradox::Table::setStepHook({});
    }
    std::printf("%d journals\n", count);
    return 0;
}
