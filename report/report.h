#pragma once

#include "report/page_model.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <functional>
#include <memory>
#include <vector>

class DataSet;

// A banded report over the rows of a row-set: a page header, a detail band
// printed once per row in the row-set's order, and a page footer. It knows
// nothing of what the rows hold; its owner names columns and reacts to the
// events of a run.
namespace report {

// An element of a band, placed in millimetres from the band's top-left.
class Element
{
public:
    virtual ~Element() = default;
    QString name;
    QRectF rectMm;
};

class Label : public Element
{
public:
    QString caption;                         // may change during a run
    Font font;                               // may change during a run
    Qt::Alignment alignment = Qt::AlignLeft; // AlignLeft, AlignHCenter or AlignRight
    // The width follows the text, keeping the aligned edge (left, centre or
    // right) where the layout put it.
    bool autoSize = false;
};

// Prints one named column of the current row as text. A text wider than
// its column is condensed, down to MinimumTextScale of its width, and then
// cut short with "…". The column is a fixed-width text's own box; an
// auto-sized text's reaches from its aligned edge to the nearest text,
// box or vertical rule of the band on that side (either side when
// centred), or to the printable edge of the page.
class DataText : public Label
{
public:
    QString column;
};

inline constexpr double MinimumTextScale = 0.6;

class Shape : public Element
{
public:
    enum class Kind
    {
        Rectangle,
        HorizontalLine,
        VerticalLine,
    };
    Kind kind = Kind::Rectangle;
    int pen = 1;
};

class Band
{
public:
    QString name;
    double heightMm = 0;
    bool ruleTop = false;
    bool ruleBottom = false;
    int rulePen = 1;
    bool enabled = true; // a disabled band never prints; rules run across the printable width

    Label& addLabel(const QString& name, const QRectF& rectMm, const QString& caption,
                    const Font& font, Qt::Alignment alignment = Qt::AlignLeft,
                    bool autoSize = false);
    DataText& addDataText(const QString& name, const QRectF& rectMm, const QString& column,
                          const Font& font, Qt::Alignment alignment = Qt::AlignLeft,
                          bool autoSize = false);
    Shape& addShape(const QString& name, const QRectF& rectMm, Shape::Kind kind, int pen);

    Element* find(const QString& name) const;
    const std::vector<std::unique_ptr<Element>>& elements() const { return elements_; }

private:
    std::vector<std::unique_ptr<Element>> elements_;
};

struct PageSetup
{
    // A standard size, or Custom with the width and length below.
    QPageSize::PageSizeId paperSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double widthMm = 210; // as the paper lies in portrait
    double lengthMm = 297;
    QMarginsF marginsMm; // left, top, right, bottom
    int tray = 0;        // the printer's paper source code; 0: as the printer has it

    // The layout's page comes from widthMm and lengthMm (turned for landscape);
    // paperSize names the paper for the printer. Choosing a standard size here
    // also takes its dimensions, so the two cannot disagree.
    void setPaperSize(QPageSize::PageSizeId id);
    // Width and length as the paper lies.
    QSizeF paperMm() const;
};

class Report
{
public:
    explicit Report(DataSet* rows = nullptr);

    void setDataSet(DataSet* rows) { rows_ = rows; }
    DataSet* dataSet() const { return rows_; }

    PageSetup page;
    Band pageHeader;
    Band detail;
    Band pageFooter;

    // The events of a run, in order: before the first page (the rows on
    // their first row), at the start of every page before its header (the
    // rows on the row that prints next), before the page header, and before
    // each row's detail band (clearing print leaves the row out).
    std::function<void()> beforePrint;
    std::function<void()> startPage;
    std::function<void()> pageHeaderBeforePrint;
    std::function<void(bool& print)> detailBeforePrint;

    // From detailBeforePrint: ends the current page (its footer prints) and
    // begins the next, where the row then prints. A page that holds no
    // detail band yet is not left empty: it is begun again instead, its
    // page start seeing the row that asked. Outside the detail step it does
    // nothing.
    void newPage();

    // The paper less the left and right margins, as the paper lies.
    double printableWidthMm() const;

    // Runs the report from the first row: every event fires again. An empty
    // row-set gives one page. The row-set ends on the row it stood on, and
    // its bound controls do not follow the walk. A disabled band's handler
    // does not fire.
    PageModel run();

private:
    struct Run;
    void beginPage();
    void endPage();
    void placeBand(const Band& band, double topMm);
    double footerTopMm() const;

    DataSet* rows_;
    Run* running_ = nullptr;
};

} // namespace report
