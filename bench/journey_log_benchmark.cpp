// The journey log of a 10,000-row logbook laid out and written as PDF,
// next to a baseline in the same run: the same texts and lines drawn with
// QPainter straight onto a QPdfWriter, fonts made beforehand. Medians of
// three runs: ./bench/journey_log_benchmark [rows]
#include "bench/median_time.h"
#include "data/data_set.h"
#include "db/table_management.h"
#include "paradox/paradox_driver.h"
#include "print/skelvo_print_form.h"
#include "report/render.h"
#include "report/report_font.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

constexpr const char* Connection = "bench rows";
constexpr int Resolution = 1200; // the PDF writer's, as the program's

const char* const Crews[] = {"山田太郎", "佐藤花子", "鈴木一郎", "高橋次郎"};
const char* const Fields[] = {"大利根", "福島", "板倉", "妻沼"};

void exec(QSqlQuery& query, const QString& sql = {})
{
    if (!(sql.isEmpty() ? query.exec() : query.exec(sql)))
        throw std::runtime_error(query.lastError().text().toStdString());
}

QString clock(int minutes)
{
    return QString::asprintf("%02d:%02d", minutes / 60 % 24, minutes % 60);
}

// Flights of an ordinary logbook: four a day, Japanese names and fields,
// times and totals as typed text; every 19th row (a page's lines) starts a
// numbered page.
void fillLogbook(const QString& folder, int rows)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, Connection);
    db.setDatabaseName(folder);
    if (!db.open())
        throw std::runtime_error(db.lastError().text().toStdString());
    QSqlQuery query(db);
    exec(query, TableManagement::prepareCommand(TableManagement::readCommandFile(
                                                    SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
                                                "ja2401"));
    query.prepare("INSERT INTO ja2401 (ct, sb, callsign, pageno, yyyy, mmdd, crew, intention, "
                  "depart, arrive, outtime, offtime, ontime, intime, blocktime, flighttime, "
                  "sincema, sinceov, sign, remarks) VALUES (?, 0, 'JA2401', ?, ?, ?, ?, ?, ?, "
                  "?, ?, ?, ?, ?, '00:40', '00:30', ?, ?, ?, ?)");
    for (int row = 1; row <= rows; ++row) {
        const int day = row / 4;
        const int start = 8 * 60 + row % 4 * 90;
        const QString crew = QString::fromUtf8(Crews[row % 4]);
        const QVariantList values = {
            row,
            row % 19 == 1 ? QVariant(row / 19 + 1) : QVariant(),
            QString::number(2000 + day / 360),
            QString::asprintf("%02d%02d", day / 30 % 12 + 1, day % 30 + 1),
            crew,
            QStringLiteral("慣熟飛行"),
            QString::fromUtf8(Fields[row % 4]),
            QString::fromUtf8(Fields[(row + 1) % 4]),
            clock(start),
            clock(start + 5),
            clock(start + 35),
            clock(start + 40),
            QStringLiteral("%1:00").arg(1000 + row / 2),
            QStringLiteral("%1:30").arg(row / 2),
            crew,
            row % 10 ? QString() : QStringLiteral("100時間点検"),
        };
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        exec(query);
    }
}

// The page model's items as a plain program would draw them: device
// coordinates and fonts made once.
struct DrawnText
{
    QRectF rect;
    int font;
    int flags;
    QString text;
};
struct DrawnPage
{
    std::vector<DrawnText> texts;
    std::vector<QLineF> lines;
    std::vector<QRectF> rects;
};

std::vector<DrawnPage> plainDrawing(const report::PageModel& model, std::vector<QFont>& fonts)
{
    const double scale = Resolution / 25.4;
    std::vector<DrawnPage> pages;
    for (const report::Page& page : model.pages) {
        DrawnPage& drawn = pages.emplace_back();
        for (const report::PageItem& item : page.items) {
            const QRectF r(item.rectMm.topLeft() * scale, item.rectMm.size() * scale);
            switch (item.kind) {
            case report::PageItem::Kind::Text: {
                QFont font = report::qtFont(item.font);
                font.setPointSizeF(item.font.pointSize * Resolution / 72.0);
                auto same = std::find(fonts.begin(), fonts.end(), font);
                if (same == fonts.end())
                    same = fonts.insert(fonts.end(), font);
                drawn.texts.push_back({r, int(same - fonts.begin()),
                                       int(item.alignment) | Qt::AlignTop | Qt::TextDontClip,
                                       item.text});
                break;
            }
            case report::PageItem::Kind::HorizontalLine:
                drawn.lines.emplace_back(r.left(), r.center().y(), r.right(), r.center().y());
                break;
            case report::PageItem::Kind::VerticalLine:
                drawn.lines.emplace_back(r.center().x(), r.top(), r.center().x(), r.bottom());
                break;
            case report::PageItem::Kind::Rectangle:
                drawn.rects.push_back(r);
                break;
            }
        }
    }
    return pages;
}

void writePlainPdf(const std::vector<DrawnPage>& pages, const std::vector<QFont>& fonts,
                   const QSizeF& paperMm, const QString& fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(paperMm.transposed(), QPageSize::Millimeter),
                                     QPageLayout::Landscape, QMarginsF()));
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0.2 * Resolution / 25.4));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        for (const DrawnText& text : pages[i].texts) {
            painter.setFont(fonts[size_t(text.font)]);
            painter.drawText(text.rect, text.flags, text.text);
        }
        painter.drawLines(pages[i].lines.data(), int(pages[i].lines.size()));
        for (const QRectF& rect : pages[i].rects)
            painter.drawRect(rect);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ParadoxDriver::registerDriver();
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir folder;
    fillLogbook(folder.path(), rows);

    DataSet data;
    data.setConnectionName(Connection);
    data.setCommandText("SELECT * FROM ja2401 ORDER BY ct,sb");
    data.open();
    const bool oldPattern = false;
    report::PageModel model;
    const double modelMs = medianMs([&] {
        TSkelvoPrintForm form(data, QStringLiteral("ja2401"), oldPattern);
        model = form.Report.run();
    });
    const QString ours = folder.filePath("journey_log.pdf");
    const double renderMs = medianMs([&] { report::writePdf(model, ours); });

    std::vector<QFont> fonts;
    const std::vector<DrawnPage> plain = plainDrawing(model, fonts);
    const QString baseline = folder.filePath("baseline.pdf");
    const double baselineMs =
        medianMs([&] { writePlainPdf(plain, fonts, model.paperMm, baseline); });

    std::printf("journey log of %d rows, %lld pages (medians of %d runs)\n", rows,
                qlonglong(model.pages.size()), MedianRuns);
    std::printf("  page model (run of the report)        %9.1f ms\n", modelMs);
    std::printf("  model rendered to PDF                 %9.1f ms\n", renderMs);
    std::printf("  laid out and rendered                 %9.1f ms\n", modelMs + renderMs);
    std::printf("  baseline: QPainter onto QPdfWriter    %9.1f ms\n", baselineMs);
    std::printf("  ratio (laid out and rendered/baseline) %8.2fx\n",
                (modelMs + renderMs) / baselineMs);
    return 0;
}
