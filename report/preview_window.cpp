#include "report/preview_window.h"

#include "report/render.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace report {

// One page as it lies on the paper, at the preview's zoom.
class PreviewPage : public QWidget
{
public:
    explicit PreviewPage(const PageModel& model) : model_(model) {}

    void setPage(int index)
    {
        index_ = index;
        update();
    }
    double zoom() const { return zoom_; }
    void setZoom(double zoom)
    {
        zoom_ = std::clamp(zoom, MinZoom, MaxZoom);
        setFixedSize(pixelSize(zoom_).toSize());
        update();
    }
    // The page's size on the screen at a zoom.
    QSizeF pixelSize(double zoom) const
    {
        return QSizeF(model_.paperMm.width() * logicalDpiX(),
                      model_.paperMm.height() * logicalDpiY()) /
               25.4 * zoom;
    }

    static constexpr double MinZoom = 0.1;
    static constexpr double MaxZoom = 8.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.scale(zoom_, zoom_);
        renderPage(painter, model_, index_);
    }

private:
    const PageModel& model_;
    int index_ = 0;
    double zoom_ = 1.0;
};

} // namespace report

namespace {

TReportPreview::SaveFileChooser& saveFileChooserHook()
{
    static TReportPreview::SaveFileChooser chooser;
    return chooser;
}

QString chooseSaveFile(QWidget* parent, const QString& suggested)
{
    if (saveFileChooserHook())
        return saveFileChooserHook()(parent, suggested);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("PDF出力"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

QPushButton* addButton(QHBoxLayout* bar, const char* objectName, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    // Enter in a preview must not print by surprise.
    button->setAutoDefault(false);
    bar->addWidget(button);
    return button;
}

constexpr double ZoomStep = 1.25;

} // namespace

TReportPreview::TReportPreview(report::PageModel model, QWidget* parent)
    : QDialog(parent), model_(std::move(model)), pdfFileName_(QStringLiteral("report.pdf"))
{
    setWindowTitle(QStringLiteral("プレビュー"));
    setModal(true);

    auto* bar = new QHBoxLayout;
    printButton_ = addButton(bar, "PrintButton", QStringLiteral("印刷"));
    QPushButton* pdfButton = addButton(bar, "PdfButton", QStringLiteral("PDF出力"));
    bar->addSpacing(12);
    priorButton_ = addButton(bar, "PriorPageButton", QStringLiteral("前頁"));
    pageLabel_ = new QLabel;
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    bar->addWidget(pageLabel_);
    nextButton_ = addButton(bar, "NextPageButton", QStringLiteral("次頁"));
    bar->addSpacing(12);
    QPushButton* zoomIn = addButton(bar, "ZoomInButton", QStringLiteral("拡大"));
    QPushButton* zoomOut = addButton(bar, "ZoomOutButton", QStringLiteral("縮小"));
    QPushButton* fit = addButton(bar, "FitButton", QStringLiteral("全体"));
    bar->addSpacing(12);
    statusLabel_ = new QLabel;
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    bar->addWidget(statusLabel_, 1);
    QPushButton* close = addButton(bar, "CloseButton", QStringLiteral("閉じる"));

    page_ = new report::PreviewPage(model_);
    scrollArea_ = new QScrollArea;
    scrollArea_->setObjectName(QStringLiteral("PageArea"));
    scrollArea_->setBackgroundRole(QPalette::Dark);
    scrollArea_->setAlignment(Qt::AlignCenter);
    scrollArea_->setWidget(page_);
    // Page keys turn pages rather than scroll.
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scrollArea_, 1);

    connect(printButton_, &QPushButton::clicked, this, [this] { PrintButtonClick(); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { PdfButtonClick(); });
    connect(priorButton_, &QPushButton::clicked, this, [this] { showPage(current_ - 1); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomBy(ZoomStep); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomBy(1 / ZoomStep); });
    connect(fit, &QPushButton::clicked, this, [this] {
        fitting_ = true;
        fitPage();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    resize(1000, 720);
    fitPage();
    showPage(0);
}

TReportPreview::~TReportPreview() = default;

void TReportPreview::setSaveFileChooser(SaveFileChooser chooser)
{
    saveFileChooserHook() = std::move(chooser);
}

void TReportPreview::setModel(report::PageModel model)
{
    model_ = std::move(model);
    if (fitting_)
        fitPage();
    else
        page_->setZoom(page_->zoom()); // the paper may have changed
    showPage(std::min(current_, int(model_.pages.size()) - 1));
}

void TReportPreview::showPage(int index)
{
    current_ = std::clamp(index, 0, std::max(0, int(model_.pages.size()) - 1));
    page_->setPage(current_);
    updatePageControls();
}

double TReportPreview::zoom() const
{
    return page_->zoom();
}

void TReportPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(current_ + 1);
        return;
    case Qt::Key_PageUp:
        showPage(current_ - 1);
        return;
    case Qt::Key_Home:
        showPage(0);
        return;
    case Qt::Key_End:
        showPage(int(model_.pages.size()) - 1);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool TReportPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The room for the page is known only once the layout has sized the view.
    if (watched == scrollArea_->viewport() && event->type() == QEvent::Resize && fitting_)
        fitPage();
    return QDialog::eventFilter(watched, event);
}

void TReportPreview::zoomBy(double factor)
{
    fitting_ = false;
    page_->setZoom(page_->zoom() * factor);
}

void TReportPreview::fitPage()
{
    const QSizeF actual = page_->pixelSize(1.0);
    if (actual.isEmpty())
        return;
    const QSize room = scrollArea_->viewport()->size() - QSize(16, 16);
    page_->setZoom(std::min(room.width() / actual.width(), room.height() / actual.height()));
}

void TReportPreview::updatePageControls()
{
    const int count = int(model_.pages.size());
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(count ? current_ + 1 : 0).arg(count));
    priorButton_->setEnabled(current_ > 0);
    nextButton_->setEnabled(current_ + 1 < count);
}

void TReportPreview::showStatus(const QString& text, bool failed)
{
    statusLabel_->setStyleSheet(failed ? QStringLiteral("color: #c00000;") : QString());
    statusLabel_->setText(text);
}

void TReportPreview::PrintButtonClick()
{
    if (!printHandler_)
        return;
    // Nothing may escape into the event loop; the failure is shown here.
    try {
        if (std::optional<report::PageModel> printed = printHandler_()) {
            setModel(std::move(*printed));
            showStatus(QStringLiteral("印刷しました。"), false);
        }
    } catch (const std::exception& e) {
        showStatus(QString::fromUtf8(e.what()), true);
    }
}

void TReportPreview::PdfButtonClick()
{
    const QString suggested = QDir::home().filePath(pdfFileName_);
    QString fileName = chooseSaveFile(this, suggested);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    if (report::writePdf(model_, fileName))
        showStatus(QStringLiteral("PDFを保存しました: %1").arg(QDir::toNativeSeparators(fileName)),
                   false);
    else
        showStatus(
            QStringLiteral("PDFを保存できませんでした: %1").arg(QDir::toNativeSeparators(fileName)),
            true);
}
