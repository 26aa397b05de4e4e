#include "print/log_print_form.h"

#include "core/error.h"
#include "data/data_set.h"

LogPrintForm::LogPrintForm(DataSet& rows, const QString& tableName, const LogLayout::Layout& layout)
    : Report(&rows), rows_(rows), tableName_(tableName), layout_(layout)
{
    FormCreate();
}

void LogPrintForm::FormCreate()
{
    if (!rows_.isOpen())
        throw SkelvoError(QStringLiteral("テーブルが開いていません。"));
    rows_.first();

    report::PageSetup& page = Report.page;
    page.setPaperSize(QPageSize::JisB5); // 182 x 257 mm
    page.orientation = QPageLayout::Landscape;
    page.marginsMm = layout_.marginsMm;

    const auto setUp = [](report::Band& band, const LogLayout::BandSpec& spec) {
        band.name = QString::fromLatin1(spec.name);
        band.heightMm = spec.heightMm;
        band.ruleTop = spec.ruleTop;
        band.ruleBottom = spec.ruleBottom;
        band.rulePen = spec.rulePen;
    };
    setUp(Report.pageHeader, layout_.header);
    LogLayout::addHeaderBox(Report.pageHeader, layout_.headerBox, Report.printableWidthMm());
    BandLayout::addElements(Report.pageHeader, layout_.header.elements);
    setUp(Report.detail, layout_.detail);
    BandLayout::addElements(Report.detail, layout_.detail.elements);
    setUp(Report.pageFooter, layout_.footer);
    BandLayout::addElements(Report.pageFooter, layout_.footer.elements);

    Report.beforePrint = [this] { ReportBeforePrint(); };
    Report.startPage = [this] { ReportStartPage(); };
}

QString LogPrintForm::documentName() const
{
    return tableName_.toUpper() + QLatin1String(layout_.documentSuffix);
}

report::Label& LogPrintForm::label(report::Band& band, const char* name) const
{
    return static_cast<report::Label&>(*band.find(QString::fromLatin1(name)));
}

int LogPrintForm::rowPageNumber() const
{
    return rows_.eof() ? 0 : rows_.asInteger(layout_.pageNumberColumn);
}

void LogPrintForm::ReportBeforePrint()
{
    // The paper is chosen after the form is laid out, so what spans the page
    // is sized for the page this run prints on.
    LogLayout::fitHeaderBox(Report.pageHeader, Report.printableWidthMm());
    label(Report.pageHeader, "QRLabel4").caption = tableName_.toUpper();
    pageCounter_ = rowPageNumber();
    rememberedYear_.clear();
}

void LogPrintForm::ReportStartPage()
{
    ++pageCounter_;
    label(Report.pageHeader, "QRLabel15").caption = QString::asprintf("%.4d", pageCounter_);
    showRowYear();
}

void LogPrintForm::setYear(const QString& year)
{
    label(Report.detail, layout_.yearLabel).caption = year;
}

void LogPrintForm::showRowYear()
{
    if (!rows_.eof())
        setYear(rows_.asString(u"yyyy"));
}

bool LogPrintForm::beginNumberedPage()
{
    const int pageNumber = rowPageNumber();
    if (pageNumber == 0)
        return false;
    // The page start counts on to the number; a page without lines yet is
    // begun again rather than left empty, so no page goes out blank or
    // numbered past the row's.
    pageCounter_ = pageNumber - 1;
    Report.newPage();
    return true;
}

void LogPrintForm::yearStep()
{
    const QString year = rows_.asString(u"yyyy");
    if (year != rememberedYear_) {
        setYear(year);
        rememberedYear_ = year;
    } else {
        setYear({});
    }
}
