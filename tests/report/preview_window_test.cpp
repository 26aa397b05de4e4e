#include "report/preview_window.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/temp_folder.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

report::PageModel pages(int count)
{
    report::PageModel model;
    model.paperMm = QSizeF(257, 182);
    for (int i = 0; i < count; ++i) {
        report::PageItem item;
        item.text = QStringLiteral("頁 %1").arg(i + 1);
        item.rectMm = QRectF(20, 20, 50, 6);
        model.pages.append(report::Page{{item}});
    }
    return model;
}

class PreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        window_ = std::make_unique<TReportPreview>(pages(3));
        window_->show();
    }
    void TearDown() override { TReportPreview::setSaveFileChooser({}); }

    TReportPreview& preview() const { return *window_; }
    QString pageLabel() const { return preview().findChild<QLabel*>("PageLabel")->text(); }
    void click(const char* button)
    {
        auto* found = preview().findChild<QPushButton*>(button);
        ASSERT_NE(found, nullptr) << button;
        QTest::mouseClick(found, Qt::LeftButton);
    }

    std::unique_ptr<TReportPreview> window_;
};

TEST_F(PreviewTest, OpensModalOnTheFirstPageAndPagesThrough)
{
    EXPECT_EQ(preview().windowTitle(), "プレビュー");
    EXPECT_TRUE(preview().isModal());
    EXPECT_EQ(pageLabel(), "1 / 3");
    EXPECT_FALSE(preview().findChild<QPushButton*>("PriorPageButton")->isEnabled());

    click("NextPageButton");
    EXPECT_EQ(pageLabel(), "2 / 3");
    QTest::keyClick(&preview(), Qt::Key_PageDown);
    QTest::keyClick(&preview(), Qt::Key_PageDown); // stays on the last page
    EXPECT_EQ(pageLabel(), "3 / 3");
    EXPECT_FALSE(preview().findChild<QPushButton*>("NextPageButton")->isEnabled());
    QTest::keyClick(&preview(), Qt::Key_PageUp);
    EXPECT_EQ(preview().currentPage(), 1);
}

TEST_F(PreviewTest, PdfButtonWritesTheShownPagesToTheChosenFile)
{
    testsupport::TempFolder folder;
    QString offered;
    TReportPreview::setSaveFileChooser([&](QWidget*, const QString& suggested) {
        offered = suggested;
        return folder.filePath("journey"); // no suffix typed
    });
    preview().setPdfFileName("journey_log.pdf");
    click("PdfButton");
    EXPECT_TRUE(offered.endsWith("journey_log.pdf"));
    EXPECT_GT(QFileInfo(folder.filePath("journey.pdf")).size(), 0);

    TReportPreview::setSaveFileChooser([](QWidget*, const QString&) { return QString(); });
    click("PdfButton"); // cancelled: nothing written, nothing said
    EXPECT_TRUE(preview().findChild<QLabel*>("StatusLabel")->text().contains("journey.pdf"));
}

TEST_F(PreviewTest, PrintButtonHandsOverToTheOwnerAndShowsWhatWasPrinted)
{
    int calls = 0;
    preview().setPrintHandler([&]() -> std::optional<report::PageModel> {
        ++calls;
        return calls == 1 ? std::optional(pages(2)) : std::nullopt;
    });
    click("NextPageButton");
    click("NextPageButton");
    click("PrintButton");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(pageLabel(), "2 / 2") << "the run printed, on the nearest page";

    click("PrintButton"); // not printed: the pages stay
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(preview().model().pages.size(), 2);

    preview().setPrintHandler([]() -> std::optional<report::PageModel> {
        throw std::runtime_error("プリンタがありません");
    });
    click("PrintButton");
    EXPECT_EQ(preview().findChild<QLabel*>("StatusLabel")->text(), "プリンタがありません");
}

} // namespace
