#include "report/report.h"

#include "data/data_set.h"
#include "report/report_font.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace report {

namespace {

// Millimetre sums of one-decimal layout values are not exact in binary.
constexpr double FitTolerance = 1e-6;

// Bound controls stay still while a run walks the rows, and the row-set ends
// on the row it stood on, however the run ends.
class RowSetGuard
{
public:
    explicit RowSetGuard(DataSet* rows) : rows_(rows)
    {
        if (!rows_)
            return;
        rows_->disableControls();
        saved_ = rows_->bookmark();
    }
    ~RowSetGuard()
    {
        if (!rows_)
            return;
        try {
            if (rows_->bookmarkValid(saved_))
                rows_->gotoBookmark(saved_);
        } catch (...) {
            // A run that failed reports its own error; the way back is a courtesy.
        }
        rows_->enableControls();
    }
    RowSetGuard(const RowSetGuard&) = delete;
    RowSetGuard& operator=(const RowSetGuard&) = delete;

private:
    DataSet* rows_;
    DataSet::Bookmark saved_;
};

// A box of the given width keeping the aligned edge (left, centre or right)
// where the layout put it.
QRectF anchored(const Label& label, double width)
{
    QRectF rect = label.rectMm;
    if (label.alignment & Qt::AlignRight)
        rect.setLeft(rect.right() - width);
    else if (label.alignment & Qt::AlignHCenter)
        rect.setLeft(rect.center().x() - width / 2);
    rect.setWidth(width);
    return rect;
}

QRectF autoSized(const Label& label, const QString& text)
{
    return label.autoSize ? anchored(label, textWidthMm(label.font, text)) : label.rectMm;
}

// Left and right edge, in the band.
struct Span
{
    double left;
    double right;
};

// Where a data text may print; see DataText.
Span columnOf(const Band& band, const DataText& text, double bandWidthMm)
{
    const QRectF& own = text.rectMm;
    if (!text.autoSize)
        return {own.left(), own.right()};
    const bool growsRight = !(text.alignment & (Qt::AlignRight | Qt::AlignHCenter));
    const bool growsLeft = !(text.alignment & (Qt::AlignLeft | Qt::AlignHCenter));
    Span column{growsRight ? own.left() : 0.0, growsLeft ? own.right() : bandWidthMm};
    const double centre = own.center().x();
    for (const auto& element : band.elements()) {
        const QRectF& other = element->rectMm;
        const auto* shape = dynamic_cast<const Shape*>(element.get());
        // A horizontal rule bounds no column; nor does what lies above or
        // below the text.
        if (element.get() == &text || (shape && shape->kind == Shape::Kind::HorizontalLine) ||
            other.top() >= own.bottom() || other.bottom() <= own.top())
            continue;
        const double from = growsRight ? own.left() : centre;
        if (!growsLeft && other.left() > from + FitTolerance)
            column.right = std::min(column.right, other.left());
        const double to = growsLeft ? own.right() : centre;
        if (!growsRight && other.right() < to - FitTolerance)
            column.left = std::max(column.left, other.right());
    }
    if (!growsRight && !growsLeft) {
        const double half = std::min(centre - column.left, column.right - centre);
        column = {centre - half, centre + half};
    }
    return column;
}

struct FittedText
{
    QString text;
    QRectF rectMm;
    double scale = 1.0;
};

// The longest start of the text that, with "…" after it, fits the room at
// the narrowest scale; nothing when not even "…" does.
QString cutToFit(const Font& font, const QString& text, double roomMm)
{
    const QString ellipsis(QChar(0x2026));
    const auto fits = [&](qsizetype end) {
        return textWidthMm(font, text.left(end) + ellipsis) * MinimumTextScale <=
               roomMm + FitTolerance;
    };
    // Cut between characters as the reader sees them, never inside one.
    std::vector<qsizetype> ends;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype end = 0; end >= 0; end = graphemes.toNextBoundary())
        ends.push_back(end);
    const auto first = std::partition_point(ends.begin(), ends.end(), fits);
    if (first == ends.begin())
        return {};
    return text.left(*(first - 1)) + ellipsis;
}

FittedText fitted(const Band& band, const DataText& data, const QString& text, double bandWidthMm)
{
    FittedText result{text, {}, 1.0};
    double width = textWidthMm(data.font, text);
    const Span column = columnOf(band, data, bandWidthMm);
    const double room = column.right - column.left;
    if (width > room + FitTolerance) {
        if (width * MinimumTextScale > room + FitTolerance) {
            result.text = cutToFit(data.font, text, room);
            width = textWidthMm(data.font, result.text);
        }
        if (width > room && width > 0)
            result.scale = room / width;
    }
    // An auto-sized column is measured from the aligned edge, so the box
    // anchored there stays inside it.
    result.rectMm = data.autoSize ? anchored(data, width * result.scale) : data.rectMm;
    return result;
}

} // namespace

template <typename T> static T& added(std::vector<std::unique_ptr<Element>>& elements)
{
    elements.push_back(std::make_unique<T>());
    return static_cast<T&>(*elements.back());
}

template <typename T>
static T& addText(std::vector<std::unique_ptr<Element>>& elements, const QString& name,
                  const QRectF& rectMm, const Font& font, Qt::Alignment alignment, bool autoSize)
{
    T& text = added<T>(elements);
    text.name = name;
    text.rectMm = rectMm;
    text.font = font;
    text.alignment = alignment;
    text.autoSize = autoSize;
    return text;
}

Label& Band::addLabel(const QString& name, const QRectF& rectMm, const QString& caption,
                      const Font& font, Qt::Alignment alignment, bool autoSize)
{
    Label& label = addText<Label>(elements_, name, rectMm, font, alignment, autoSize);
    label.caption = caption;
    return label;
}

DataText& Band::addDataText(const QString& name, const QRectF& rectMm, const QString& column,
                            const Font& font, Qt::Alignment alignment, bool autoSize)
{
    DataText& text = addText<DataText>(elements_, name, rectMm, font, alignment, autoSize);
    text.column = column;
    return text;
}

Shape& Band::addShape(const QString& name, const QRectF& rectMm, Shape::Kind kind, int pen)
{
    Shape& shape = added<Shape>(elements_);
    shape.name = name;
    shape.rectMm = rectMm;
    shape.kind = kind;
    shape.pen = pen;
    return shape;
}

Element* Band::find(const QString& name) const
{
    for (const auto& element : elements_)
        if (element->name == name)
            return element.get();
    return nullptr;
}

void PageSetup::setPaperSize(QPageSize::PageSizeId id)
{
    paperSize = id;
    if (id == QPageSize::Custom)
        return;
    const QSizeF size = QPageSize(id).size(QPageSize::Millimeter);
    widthMm = size.width();
    lengthMm = size.height();
}

QSizeF PageSetup::paperMm() const
{
    const QSizeF portrait(widthMm, lengthMm);
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

// The state of one run: the pages so far and where the next band goes.
struct Report::Run
{
    PageModel model;
    double nextTopMm = 0; // on the paper
    bool pageHasDetail = false;
    bool inDetailStep = false;
};

Report::Report(DataSet* rows) : rows_(rows) {}

double Report::printableWidthMm() const
{
    return page.paperMm().width() - page.marginsMm.left() - page.marginsMm.right();
}

void Report::newPage()
{
    if (!running_ || !running_->inDetailStep)
        return;
    if (running_->pageHasDetail)
        endPage();
    else
        running_->model.pages.removeLast();
    beginPage();
}

double Report::footerTopMm() const
{
    const double bottom = page.paperMm().height() - page.marginsMm.bottom();
    return pageFooter.enabled ? bottom - pageFooter.heightMm : bottom;
}

void Report::beginPage()
{
    running_->model.pages.append(Page{});
    running_->nextTopMm = page.marginsMm.top();
    running_->pageHasDetail = false;
    if (startPage)
        startPage();
    if (!pageHeader.enabled)
        return;
    if (pageHeaderBeforePrint)
        pageHeaderBeforePrint();
    // The handler may have switched the header off.
    if (pageHeader.enabled)
        placeBand(pageHeader, running_->nextTopMm);
}

void Report::endPage()
{
    if (pageFooter.enabled)
        placeBand(pageFooter, footerTopMm());
}

void Report::placeBand(const Band& band, double topMm)
{
    QList<PageItem>& items = running_->model.pages.last().items;
    const QPointF origin(page.marginsMm.left(), topMm);
    for (const auto& element : band.elements()) {
        PageItem item;
        item.name = element->name;
        if (const auto* label = dynamic_cast<const Label*>(element.get())) {
            item.kind = PageItem::Kind::Text;
            item.font = label->font;
            item.alignment = label->alignment & Qt::AlignHorizontal_Mask;
            if (const auto* data = dynamic_cast<const DataText*>(label)) {
                const FittedText text = fitted(
                    band, *data, rows_ && !rows_->eof() ? rows_->asString(data->column) : QString(),
                    printableWidthMm());
                item.text = text.text;
                item.rectMm = text.rectMm.translated(origin);
                item.horizontalScale = text.scale;
            } else {
                item.text = label->caption;
                item.rectMm = autoSized(*label, item.text).translated(origin);
            }
        } else if (const auto* shape = dynamic_cast<const Shape*>(element.get())) {
            switch (shape->kind) {
            case Shape::Kind::Rectangle:
                item.kind = PageItem::Kind::Rectangle;
                break;
            case Shape::Kind::HorizontalLine:
                item.kind = PageItem::Kind::HorizontalLine;
                break;
            case Shape::Kind::VerticalLine:
                item.kind = PageItem::Kind::VerticalLine;
                break;
            }
            item.pen = shape->pen;
            item.rectMm = shape->rectMm.translated(origin);
        } else {
            continue;
        }
        items.append(item);
    }
    const auto rule = [&](const char* edge, double y) {
        PageItem item;
        item.kind = PageItem::Kind::HorizontalLine;
        item.name = band.name + QLatin1Char('.') + QLatin1String(edge);
        item.rectMm = QRectF(page.marginsMm.left(), y, printableWidthMm(), 0);
        item.pen = band.rulePen;
        items.append(item);
    };
    if (band.ruleTop)
        rule("ruleTop", topMm);
    if (band.ruleBottom)
        rule("ruleBottom", topMm + band.heightMm);
    running_->nextTopMm = topMm + band.heightMm;
}

PageModel Report::run()
{
    if (running_)
        return {}; // a handler that starts its own report again gets nothing
    Run run;
    running_ = &run;
    struct Finish
    {
        Run*& running;
        ~Finish() { running = nullptr; }
    } finish{running_};

    run.model.paperMm = page.paperMm();
    RowSetGuard guard(rows_);
    if (rows_)
        rows_->first();
    const auto atEnd = [this] { return !rows_ || rows_->eof(); };

    if (beforePrint)
        beforePrint();
    beginPage();
    for (; !atEnd(); rows_->next()) {
        // A disabled detail band neither prints nor asks its handler.
        if (!detail.enabled)
            continue;
        bool print = true;
        if (detailBeforePrint) {
            run.inDetailStep = true;
            struct StepEnd
            {
                bool& flag;
                ~StepEnd() { flag = false; }
            } stepEnd{run.inDetailStep};
            detailBeforePrint(print);
        }
        if (!print || !detail.enabled)
            continue;
        // A band taller than an empty page prints there rather than leaving
        // an empty page before it.
        if (run.pageHasDetail && run.nextTopMm + detail.heightMm > footerTopMm() + FitTolerance) {
            endPage();
            beginPage();
        }
        placeBand(detail, run.nextTopMm);
        run.pageHasDetail = true;
    }
    endPage();
    return std::move(run.model);
}

} // namespace report
