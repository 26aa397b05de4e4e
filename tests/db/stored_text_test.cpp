// Every character of code page 932 reaches every store and comes back as
// typed, through the row-set, another client and a CSV export; a text no
// store keeps whole, or one longer than its column, is refused; appended
// rows learn their number; the ODBC table list holds only the database's
// tables. Runs over each store.
#include "core/csv_format.h"
#include "core/error.h"
#include "data/data_set.h"
#include "db/csv_transfer.h"
#include "db/table_management.h"
#include "paradox/code_page.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_fixture.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using testsupport::Entry;

// Every printable character code page 932 holds, once each, in code order.
QString everyCp932Character()
{
    const paradox::codec::CodePage cp932(932);
    QString all;
    QSet<QChar> seen;
    const auto add = [&](const QByteArray& code) {
        try {
            const QString character = cp932.decode(code);
            if (character.size() == 1 && character[0] >= u' ' && character[0] != u'\x7f' &&
                !seen.contains(character[0])) {
                seen.insert(character[0]);
                all += character;
            }
        } catch (const SkelvoError&) {
            // not a character of the code page
        }
    };
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        add(QByteArray(1, char(byte)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F && (lead <= 0x9F || lead >= 0xE0))
                add(QByteArray(1, char(lead)).append(char(trail)));
        }
    }
    return all;
}

struct Texts
{
    QString crew;    // a few dozen characters in code order
    QString remarks; // the same, each followed by 行
    bool operator==(const Texts&) const = default;
};

void PrintTo(const Texts& texts, std::ostream* out)
{
    *out << texts.crew.toStdString() << " / " << texts.remarks.toStdString();
}

QList<Texts> textsOfEveryCharacter()
{
    constexpr int CharactersPerText = 30;
    const QString all = everyCp932Character();
    QList<Texts> texts;
    for (qsizetype at = 0; at < all.size(); at += CharactersPerText) {
        Texts row{all.mid(at, CharactersPerText), {}};
        for (QChar character : std::as_const(row.crew))
            row.remarks += character + QStringLiteral("行");
        texts.append(row);
    }
    return texts;
}

class StoredText : public testsupport::StoreTest
{
protected:
    // Opened with the write-back settings of the entry routines.
    void openTable()
    {
        open();
        rows().setFieldFlags(u"id", {false, false, false});
        rows().setFieldFlags(u"ct", {true, true, true});
        rows().setFieldFlags(u"sb", {true, true, true});
        rows().setWhereMode(WhereMode::KeyAndChanged);
    }

    void append(int ct, const QString& crew, const QString& remarks = {})
    {
        rows().append();
        rows().setValue(u"ct", ct);
        rows().setValue(u"sb", 0);
        rows().setValue(u"crew", crew);
        rows().setValue(u"remarks", remarks);
        rows().post();
    }

    QList<Texts> rowSetTexts()
    {
        EXPECT_TRUE(store_.OpenLogTable());
        QList<Texts> texts;
        for (rows().first(); !rows().eof(); rows().next())
            texts.append({rows().asString(u"crew"), rows().asString(u"remarks")});
        return texts;
    }

    QList<Texts> otherClientTexts()
    {
        QSqlQuery query(other_.database());
        EXPECT_TRUE(
            query.exec(QStringLiteral("SELECT crew, remarks FROM %1 ORDER BY ct").arg(table_)));
        QList<Texts> texts;
        while (query.next())
            texts.append({query.value(0).toString(), query.value(1).toString()});
        return texts;
    }

    QList<Texts> exportedTexts()
    {
        const QString file = folder_.filePath("export.csv");
        CsvTransfer::writeFile(store_.connectionNameOf(store_.DatabaseKind), table_, file, {});
        QFile csv(file);
        EXPECT_TRUE(csv.open(QIODevice::ReadOnly));
        const QStringList lines = CsvFormat::readLines(csv.readAll());
        const QStringList columns = CsvTransfer::dataColumnNames();
        const qsizetype crew = columns.indexOf("crew"), remarks = columns.indexOf("remarks");
        QList<Texts> texts;
        for (qsizetype line = 1; line < lines.size(); ++line) {
            const QStringList values = CsvFormat::splitLine(lines[line]);
            texts.append({values.value(crew), values.value(remarks)});
        }
        return texts;
    }
};

TEST_P(StoredText, EveryCharacterOfTheCodePageComesBackAsTyped)
{
    const QList<Texts> texts = textsOfEveryCharacter();
    ASSERT_EQ(everyCp932Character().size(), 9364);
    openTable();
    for (int i = 0; i < texts.size(); ++i)
        ASSERT_NO_THROW(append(i + 1, texts[i].crew, texts[i].remarks)) << "row " << i + 1;
    send();

    EXPECT_EQ(rowSetTexts(), texts);
    EXPECT_EQ(otherClientTexts(), texts);
    EXPECT_EQ(exportedTexts(), texts);
}

TEST_P(StoredText, AnEditedTextIsWrittenWholeAndFoundAgain)
{
    seed({{1, 0, "a"}});
    openTable();
    rows().edit();
    rows().setValue(u"crew", "慣熟飛行 高橋次郎");
    rows().post();
    send();
    rows().edit();
    rows().setValue(u"remarks", "四様線付");
    rows().post();
    send();
    EXPECT_EQ(rowSetTexts(), (QList<Texts>{{"慣熟飛行 高橋次郎", "四様線付"}}));
}

// A text as long as its column goes in whole. One character more, or a text
// holding NUL, is refused naming the column (and its limit), and nothing is
// written. A folder table counts bytes of its code page, where 山 takes two.
TEST_P(StoredText, ATextNoStoreKeepsWholeIsRefusedNamingItsColumn)
{
    seed({{1, 0, "a"}});
    openTable();
    const QString fits = paradox() ? QString(127, u'山') + 'a' : QString(255, u'山');
    const struct
    {
        QString crew;
        const char* named;
    } refused[] = {
        {QStringLiteral("a") + QChar(u'\0') + "b", "NUL"},
        {QString(10000, u'x'), "255"},
        {paradox() ? QString(128, u'山') : QString(256, u'山'), "255"},
    };
    for (const auto& [crew, named] : refused) {
        rows().edit();
        rows().setValue(u"crew", crew);
        try {
            rows().post();
            send();
            ADD_FAILURE() << "taken: " << named;
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains("crew") && error.message().contains(named))
                << error.message().toStdString();
        }
        rows().cancel();
        EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "a"}}));
    }
    rows().edit();
    rows().setValue(u"crew", fits);
    rows().post();
    send();
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, fits}}));
}

// The store's own number comes back with the row, and nothing is printed for
// it (the ODBC driver complained once a row where it could not tell).
TEST_P(StoredText, AnAppendedRowLearnsItsNumberQuietly)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
            warnings.append(message);
        });
    openTable();
    append(1, "高橋");
    send();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    if (!cached()) { // a held row learns it when the table is read again
        EXPECT_GT(rows().value(u"id").toLongLong(), 0);
    }
    rows().edit();
    rows().setValue(u"crew", "高橋次郎");
    rows().post();
    send();
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "高橋次郎"}}));
}

TEST_P(StoredText, TheTableListHoldsOnlyTheDatabasesTables)
{
    QStringList names;
    TableManagement::ListTableNames(store_, names);
    EXPECT_TRUE(names.contains(table_));
    for (const char* system : {"global_status", "session_status", "session_account_connect_attrs"})
        EXPECT_FALSE(names.contains(system, Qt::CaseInsensitive)) << system;
}

INSTANTIATE_TEST_SUITE_P(Stores, StoredText, testsupport::allStores(), testsupport::storeTestName);

} // namespace
