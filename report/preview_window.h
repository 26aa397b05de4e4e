#pragma once

#include "report/page_model.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;

namespace report {
class PreviewPage;
}

// The modal preview of a report's pages, from which the user prints or saves
// the pages as a PDF file.
class TReportPreview : public QDialog
{
    Q_OBJECT

public:
    // Runs the report again and prints it; gives the pages it printed, or
    // nothing when no print was made (the preview keeps its pages).
    using PrintHandler = std::function<std::optional<report::PageModel>()>;
    // Asks for the name of the PDF file to write; empty when cancelled.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;

    explicit TReportPreview(report::PageModel model, QWidget* parent = nullptr);
    ~TReportPreview() override;

    void setPrintHandler(PrintHandler handler) { printHandler_ = std::move(handler); }
    // The file name offered first in the PDF chooser, without folder.
    void setPdfFileName(const QString& name) { pdfFileName_ = name; }

    const report::PageModel& model() const { return model_; }
    void setModel(report::PageModel model);
    int currentPage() const { return current_; } // 0-based
    void showPage(int index);
    double zoom() const; // 1.0: the paper's true size on the screen

    // Test hook: replaces the file dialog for every preview; an empty
    // function restores it.
    static void setSaveFileChooser(SaveFileChooser chooser);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrintButtonClick();
    void PdfButtonClick();
    void zoomBy(double factor);
    void fitPage();
    void updatePageControls();
    void showStatus(const QString& text, bool failed);

    report::PageModel model_;
    int current_ = 0;
    bool fitting_ = true;
    PrintHandler printHandler_;
    QString pdfFileName_;

    report::PreviewPage* page_;
    QScrollArea* scrollArea_;
    QPushButton* priorButton_;
    QPushButton* nextButton_;
    QPushButton* printButton_;
    QLabel* pageLabel_;
    QLabel* statusLabel_;
};
