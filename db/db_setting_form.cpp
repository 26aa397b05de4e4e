#include "db/db_setting_form.h"

#include "core/settings_keys.h"
#include "data/data_set.h"
#include "db/folder_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>

TdBSettingForm::TdBSettingForm(const QString& iniFileName, QWidget* parent)
    : QDialog(parent), iniFileName_(iniFileName), store_(std::make_unique<StoreConnections>()),
      Table1(std::make_unique<DataSet>())
{
    setObjectName(QStringLiteral("dBSettingForm"));
    setWindowTitle(QStringLiteral("データベース設定"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    createActions();
    createWidgets();
    FolderDialog1 = new TFolderDialog(this);
    FolderDialog1->setObjectName(QStringLiteral("FolderDialog1"));
    FormCreate();
}

TdBSettingForm::~TdBSettingForm() = default;

void TdBSettingForm::FormCreate()
{
    store_->IsConnected = false;
    store_->IsTableOpen = false;
    // The main window's place until showing centres this window over it.
    move(Settings::read(iniFileName_, Settings::WindowsLeft),
         Settings::read(iniFileName_, Settings::WindowsTop));
    store_->ReadSettings(iniFileName_);
    ProgressBar1->hide();
    store_->SelectColumns = QStringLiteral("*");
    store_->SelectWhere.clear();
    store_->SelectOrder.clear();
}

void TdBSettingForm::showEvent(QShowEvent* event)
{
    centreOverParent();
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TdBSettingForm::FormShow()
{
    ShowSettings();
    LabeledEdit[5]->setText(store_->TableName);
    ProgressBar1->setValue(0);
    // The main window may have connected since this window last showed.
    ShowConnectionState();
}

void TdBSettingForm::centreOverParent()
{
    QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    if (!over)
        return;
    const QRect frame = frameGeometry();
    const QPoint centre = over->frameGeometry().center();
    move(centre.x() - frame.width() / 2, centre.y() - frame.height() / 2);
}

void TdBSettingForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TdBSettingForm::FormClose()
{
    Settings::write(iniFileName_, Settings::WindowsTop, y());
    Settings::write(iniFileName_, Settings::WindowsLeft, x());
    store_->WriteSettings(iniFileName_);
}

void TdBSettingForm::ExitActionExecute()
{
    close();
}

void TdBSettingForm::ShowSettings()
{
    // Selecting the kind here leaves the field layout as the last pick left it.
    ComboBox1->setCurrentIndex(store_->DatabaseKind);
    LabeledEdit[1]->setText(store_->ServerName);
    LabeledEdit[2]->setText(store_->DatabaseName);
    store_->FillDefaultUserName();
    LabeledEdit[3]->setText(store_->UserName);
    LabeledEdit[4]->setText(store_->Password);
}

void TdBSettingForm::TakeSettings()
{
    store_->DatabaseKind = ComboBox1->currentIndex();
    store_->ServerName = LabeledEdit[1]->text();
    store_->DatabaseName = LabeledEdit[2]->text();
    store_->UserName = LabeledEdit[3]->text();
    store_->Password = LabeledEdit[4]->text();
}

void TdBSettingForm::ShowConnectionState()
{
    const bool ok = store_->IsConnected;
    const QString why = ok ? QString() : store_->LastError;
    if (!ok && why.isEmpty()) {
        hideConnectionState(); // no attempt yet
        return;
    }
    Label1->setText(ok ? QStringLiteral("OK") : QStringLiteral("NG"));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, ok ? QColor(0, 128, 0) : QColor(255, 0, 0));
    Label1->setPalette(palette);
    Label1->setToolTip(why);
    if (ok)
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(why);
    Label1->show();
}

void TdBSettingForm::hideConnectionState()
{
    Label1->hide();
    Label1->setToolTip(QString());
    StatusBar1->clearMessage();
}

void TdBSettingForm::setEditShown(int edit, bool shown)
{
    editBox_[edit]->setVisible(shown);
}

void TdBSettingForm::setKindLayout(int kind)
{
    static const QString databaseCaptions[] = {QStringLiteral("データベース"),
                                               QStringLiteral("データソース"),
                                               QStringLiteral("データフォルダー")};
    if (kind < 0 || kind > ParadoxStore)
        return;
    setEditShown(1, kind == MySqlStore);
    editLabel_[2]->setText(databaseCaptions[kind]);
    setEditShown(3, kind != ParadoxStore);
    setEditShown(4, kind != ParadoxStore);
    ParadoxOpenButton->setVisible(kind == ParadoxStore);
}

void TdBSettingForm::ComboBox1Change(int index)
{
    // The connection and table of the stored kind go; the stored kind itself
    // changes only when a connection of the picked kind succeeds.
    if (store_->IsTableOpen)
        store_->CloseLogTable();
    if (store_->IsConnected)
        store_->DisconnectDatabase();
    setKindLayout(index);
    hideConnectionState();
    if (index == ParadoxStore) {
        const QString folder = LabeledEdit[2]->text();
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            ParadoxOpenAction->trigger();
    }
}

void TdBSettingForm::Button1Click()
{
    hideConnectionState();
    store_->TryConnect(ComboBox1->currentIndex(), LabeledEdit[1]->text(), LabeledEdit[4]->text(),
                       LabeledEdit[3]->text(), LabeledEdit[2]->text());
    if (store_->IsConnected) {
        // The listed names belong to the store used so far; dropping one of
        // them would now reach a table of that name in the other store.
        const bool otherStore = ComboBox1->currentIndex() != store_->DatabaseKind ||
                                LabeledEdit[1]->text() != store_->ServerName ||
                                LabeledEdit[2]->text() != store_->DatabaseName;
        TakeSettings();
        if (otherStore)
            clearTableList();
    }
    ShowConnectionState();
}

void TdBSettingForm::LabeledEdit1Change()
{
    hideConnectionState();
}

void TdBSettingForm::LabeledEdit2Change()
{
    hideConnectionState();
}

void TdBSettingForm::LabeledEdit3Change()
{
    hideConnectionState();
}

void TdBSettingForm::LabeledEdit4Change()
{
    hideConnectionState();
}

// A single click only places the cursor, so that a folder can be typed or
// pasted; a double click, like the button beside the box, opens the chooser.
bool TdBSettingForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabeledEdit[2] && event->type() == QEvent::MouseButtonDblClick) {
        LabeledEdit2DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TdBSettingForm::LabeledEdit2DblClick()
{
    if (ComboBox1->currentIndex() == ParadoxStore)
        ParadoxOpenAction->trigger();
}

void TdBSettingForm::ParadoxOpenActionExecute()
{
    const QString typed = LabeledEdit[2]->text();
    if (!typed.isEmpty() && QFileInfo(typed).isDir())
        FolderDialog1->Folder = typed;
    if (FolderDialog1->Execute())
        LabeledEdit[2]->setText(FolderDialog1->Folder);
}

void TdBSettingForm::LabeledEdit5Change(const QString& text)
{
    store_->TableName = text;
}
