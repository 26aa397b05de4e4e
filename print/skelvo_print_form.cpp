#include "print/skelvo_print_form.h"

#include "core/error.h"
#include "data/data_set.h"
#include "print/journey_log_layout.h"

namespace {

// The notes block's ruled lines run from the date column to the band's
// right edge.
constexpr const char* NotesLines[] = {"QRShape19", "QRShape20", "QRShape21", "QRShape22",
                                      "QRShape23"};
constexpr double NotesLinesIndentMm = 14.8;

} // namespace

TSkelvoPrintForm::TSkelvoPrintForm(DataSet& rows, const QString& tableName, const bool& oldPattern)
    : LogPrintForm(rows), rows_(rows), tableName_(tableName), oldPattern_(oldPattern)
{
    FormCreate();
}

QString TSkelvoPrintForm::documentName() const
{
    return tableName_.toUpper() + QStringLiteral("_journey_log");
}

void TSkelvoPrintForm::FormCreate()
{
    if (!rows_.isOpen())
        throw SkelvoError(QStringLiteral("テーブルが開いていません。"));
    rows_.first();

    report::PageSetup& page = Report.page;
    page.setPaperSize(QPageSize::JisB5); // 182 x 257 mm
    page.orientation = QPageLayout::Landscape;
    page.marginsMm = QMarginsF(20, 10, 10, 10);

    const auto band = [](report::Band& band, const char* name, double height,
                         std::span<const BandLayout::Element> elements) {
        band.name = QString::fromLatin1(name);
        band.heightMm = height;
        BandLayout::addElements(band, elements);
    };
    band(Report.pageHeader, "PageHeaderBand1", JourneyLogLayout::HeaderHeightMm,
         JourneyLogLayout::pageHeader());
    Report.pageHeader.ruleBottom = true;
    Report.pageHeader.rulePen = 2;
    band(Report.detail, "DetailBand1", JourneyLogLayout::DetailHeightMm,
         JourneyLogLayout::detail());
    Report.detail.ruleBottom = true;
    band(Report.pageFooter, "PageFooterBand1", JourneyLogLayout::FooterHeightMm,
         JourneyLogLayout::pageFooter());
    Report.pageFooter.ruleTop = Report.pageFooter.ruleBottom = true;
    Report.pageFooter.enabled = false;

    const double width = Report.printableWidthMm();
    Report.pageHeader.find(QStringLiteral("QRShape28"))->rectMm.setWidth(width);
    for (const char* name : NotesLines)
        Report.pageFooter.find(QString::fromLatin1(name))
            ->rectMm.setWidth(width - NotesLinesIndentMm);

    Report.beforePrint = [this] { ReportBeforePrint(); };
    Report.startPage = [this] { ReportStartPage(); };
    Report.pageHeaderBeforePrint = [this] { PageHeaderBand1BeforePrint(); };
    Report.detailBeforePrint = [this](bool& print) { DetailBand1BeforePrint(print); };
    pageCounter_ = 0;
}

report::Label& TSkelvoPrintForm::label(report::Band& band, const char* name) const
{
    return static_cast<report::Label&>(*band.find(QString::fromLatin1(name)));
}

void TSkelvoPrintForm::ReportBeforePrint()
{
    label(Report.pageHeader, "QRLabel4").caption = tableName_.toUpper();
    Report.pageFooter.enabled = oldPattern_;
    pageCounter_ = 0;
    rememberedYear_.clear();
}

void TSkelvoPrintForm::showPageNumber()
{
    label(Report.pageHeader, "QRLabel15").caption = QString::asprintf("%.4d", pageCounter_);
}

void TSkelvoPrintForm::setYear(const QString& year)
{
    label(Report.detail, "QRLabel59").caption = year;
}

void TSkelvoPrintForm::ReportStartPage()
{
    const int pageNumber = rows_.isEmpty() ? 0 : rows_.asInteger(u"pageno");
    pageCounter_ = pageNumber != 0 ? pageNumber : pageCounter_ + 1;
    showPageNumber();
    if (!rows_.isEmpty())
        setYear(rows_.asString(u"yyyy"));
}

void TSkelvoPrintForm::PageHeaderBand1BeforePrint()
{
    if (!rows_.isEmpty())
        setYear(rows_.asString(u"yyyy"));
}

void TSkelvoPrintForm::DetailBand1BeforePrint(bool& print)
{
    const int pageNumber = rows_.asInteger(u"pageno");
    if (pageNumber != 0) {
        // A page that holds no line yet is not left empty: it takes the
        // number the entry asks for.
        if (Report.pageHasDetail()) {
            Report.newPage();
        } else {
            pageCounter_ = pageNumber;
            showPageNumber();
        }
    }
    const QString year = rows_.asString(u"yyyy");
    if (year != rememberedYear_) {
        setYear(year);
        rememberedYear_ = year;
    } else {
        setYear({});
    }
    print = true;
}
