#include "tests/log_reports/report_dump.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace printtest {

namespace {

const char* kindName(report::PageItem::Kind kind)
{
    switch (kind) {
    case report::PageItem::Kind::Text:
        return "text";
    case report::PageItem::Kind::Rectangle:
        return "rect";
    case report::PageItem::Kind::HorizontalLine:
        return "hline";
    case report::PageItem::Kind::VerticalLine:
        break;
    }
    return "vline";
}

QString goldenPath(const QString& name)
{
    return QStringLiteral(SKELVO_SOURCE_DIR "/tests/log_reports/golden/") + name + ".txt";
}

} // namespace

QString dump(const report::PageModel& model)
{
    QString text;
    QTextStream out(&text);
    out << QString::asprintf("paper %.1f x %.1f\n", model.paperMm.width(), model.paperMm.height());
    for (int p = 0; p < model.pages.size(); ++p) {
        out << "page " << p + 1 << '\n';
        for (const report::PageItem& item : model.pages[p].items) {
            const QRectF& r = item.rectMm;
            out << QString::asprintf("  %-10s %-5s %6.1f %6.1f %6.1f %6.1f", qPrintable(item.name),
                                     kindName(item.kind), r.left(), r.top(), r.width(), r.height());
            if (item.kind == report::PageItem::Kind::Text)
                out << QString::asprintf(" %4.1fpt%s ", item.font.pointSize,
                                         item.font.bold ? " bold" : "")
                    << '"' << item.text << '"'
                    << (item.horizontalScale != 1.0
                            ? QString::asprintf(" scale %.2f", item.horizontalScale)
                            : QString());
            else
                out << " pen " << item.pen;
            out << '\n';
        }
    }
    return text;
}

void expectGolden(const report::PageModel& model, const QString& name)
{
    const QString actual = dump(model);
    QFile file(goldenPath(name));
    if (qEnvironmentVariableIsSet("SKELVO_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no golden file " << name.toStdString();
    EXPECT_EQ(actual.toStdString(), QString::fromUtf8(file.readAll()).toStdString())
        << "golden file " << name.toStdString();
}

} // namespace printtest
