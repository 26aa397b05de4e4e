#include "tests/db_window/form_fixture.h"

#include "core/settings_keys.h"
#include "tests/testsupport/gui_application.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace dbwindow {

void FormTest::SetUp()
{
    testsupport::ensureGuiApplication();
    const QDir commands(QStringLiteral(SKELVO_SOURCE_DIR "/commands"));
    for (const QString& file : commands.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(commands.filePath(file), folder_.filePath(file)))
            << file.toStdString();
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    ini_ = folder_.filePath(QStringLiteral("Skelvo.INI"));
    dataFolder_ = folder_.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(dataFolder_));

    MessageBox::setTestMode(true);
    TFolderDialog::setTestHook([this](const TFolderDialog::Request& request) {
        chooserRequests_.append(request);
        return chooserAnswer_;
    });
    UserInput::setTextTestHook(
        [this](const QString& caption, const QString& prompt, const QString&) {
            inputPrompts_.append(caption + QLatin1Char('/') + prompt);
            return inputAnswer_;
        });

    mainWindow_ = std::make_unique<QWidget>();
    mainWindow_->setGeometry(100, 100, 1000, 700);
    mainWindow_->show();
}

void FormTest::TearDown()
{
    form_.reset();
    mainWindow_.reset();
    TFolderDialog::setTestHook({});
    UserInput::setTextTestHook({});
    MessageBox::setTestMode(false);
    QDir::setCurrent(previousDir_);
}

void FormTest::storeSettings(int kind, const QString& database, const QString& table)
{
    Settings::write(ini_, Settings::DatabaseKind, kind);
    Settings::write(ini_, Settings::DatabaseName, database);
    Settings::write(ini_, Settings::TableName, table);
}

TdBSettingForm& FormTest::form()
{
    if (!form_) {
        form_ = std::make_unique<TdBSettingForm>(ini_, mainWindow_.get());
        form_->show();
    }
    return *form_;
}

void FormTest::pickKind(int kind)
{
    combo()->setCurrentIndex(kind);
    emit combo()->activated(kind);
}

void FormTest::clickButton(const char* name)
{
    auto* button = form().findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

QComboBox* FormTest::combo()
{
    return form().findChild<QComboBox*>(QStringLiteral("ComboBox1"));
}

QLineEdit* FormTest::edit(int number)
{
    return form().findChild<QLineEdit*>(QStringLiteral("LabeledEdit%1").arg(number));
}

QLabel* FormTest::editCaption(int number)
{
    const auto labels = form().findChildren<QLabel*>();
    for (QLabel* label : labels)
        if (label->buddy() == edit(number))
            return label;
    return nullptr;
}

QLabel* FormTest::resultLabel()
{
    return form().findChild<QLabel*>(QStringLiteral("Label1"));
}

QListWidget* FormTest::list()
{
    return form().findChild<QListWidget*>(QStringLiteral("ListBox1"));
}

} // namespace dbwindow
