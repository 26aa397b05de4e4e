// The controls of the database settings window, made in code.
#include "db/db_setting_form.h"
#include "db/folder_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int StatusPanelWidth = 300;

QAction* makeAction(QObject* owner, const char* name, const QString& caption,
                    const QString& category)
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("category", category);
    return action;
}

} // namespace

void TdBSettingForm::createActions()
{
    const QString database = QStringLiteral("データベース");
    const QString table = QStringLiteral("テーブル");
    const QString file = QStringLiteral("ファイル");
    ExitAction = makeAction(this, "ExitAction", QStringLiteral("閉じる"), file);
    GetTabelNamesAction =
        makeAction(this, "GetTabelNamesAction", QStringLiteral("テーブル一覧取得"), database);
    SelectTableAction =
        makeAction(this, "SelectTableAction", QStringLiteral("テーブルの選択"), table);
    DeleteTableAction =
        makeAction(this, "DeleteTableAction", QStringLiteral("テーブルの削除"), table);
    CreateTableAction =
        makeAction(this, "CreateTableAction", QStringLiteral("新規テーブル作成"), table);
    ParadoxOpenAction =
        makeAction(this, "ParadoxOpenAction", QStringLiteral("パラドックス・オープン"), database);
    WriteCsvFileAction =
        makeAction(this, "WriteCsvFileAction", QStringLiteral("CSVファイルに出力"), file);
    ReadCsvFileAction =
        makeAction(this, "ReadCsvFileAction", QStringLiteral("CSVファイルから追加"), file);
    OldTableSaveToNewAction = makeAction(this, "OldTableSaveToNewAction",
                                         QStringLiteral("旧テーブルからサーバーへ転送"), file);
    OldTableWriteCsvFileAction = makeAction(this, "OldTableWriteCsvFileAction",
                                            QStringLiteral("旧テーブルのCSVファイル出力"), file);
    OldTableReadAction =
        makeAction(this, "OldTableReadAction", QStringLiteral("旧テーブルの読込"), file);
    OldTableCloseAction =
        makeAction(this, "OldTableCloseAction", QStringLiteral("旧テーブルのクローズ"), file);

    connect(ExitAction, &QAction::triggered, this, &TdBSettingForm::ExitActionExecute);
    connect(GetTabelNamesAction, &QAction::triggered, this,
            &TdBSettingForm::GetTabelNamesActionExecute);
    connect(SelectTableAction, &QAction::triggered, this,
            &TdBSettingForm::SelectTableActionExecute);
    connect(DeleteTableAction, &QAction::triggered, this,
            &TdBSettingForm::DeleteTableActionExecute);
    connect(CreateTableAction, &QAction::triggered, this,
            &TdBSettingForm::CreateTableActionExecute);
    connect(ParadoxOpenAction, &QAction::triggered, this,
            &TdBSettingForm::ParadoxOpenActionExecute);
    connect(WriteCsvFileAction, &QAction::triggered, this,
            &TdBSettingForm::WriteCsvFileActionExecute);
    connect(ReadCsvFileAction, &QAction::triggered, this,
            &TdBSettingForm::ReadCsvFileActionExecute);
    connect(OldTableSaveToNewAction, &QAction::triggered, this,
            &TdBSettingForm::OldTableSaveToNewActionExecute);
    connect(OldTableWriteCsvFileAction, &QAction::triggered, this,
            &TdBSettingForm::OldTableWriteCsvFileActionExecute);
    connect(OldTableReadAction, &QAction::triggered, this,
            &TdBSettingForm::OldTableReadActionExecute);
    connect(OldTableCloseAction, &QAction::triggered, this,
            &TdBSettingForm::OldTableCloseActionExecute);
}

void TdBSettingForm::createWidgets()
{
    auto* layout = new QVBoxLayout(this);
    menuBar_ = new QMenuBar(this);
    QMenu* fileMenu = menuBar_->addMenu(QStringLiteral("ファイル"));
    fileMenu->addAction(ExitAction);
    fileMenu->addSeparator();
    fileMenu->addAction(OldTableSaveToNewAction);
    fileMenu->addAction(OldTableWriteCsvFileAction);
    layout->setMenuBar(menuBar_);

    groupRow_ = new QHBoxLayout;
    groupRow_->addWidget(createDatabaseGroup());
    groupRow_->addWidget(createTableGroup());
    layout->addLayout(groupRow_);
    layout->addWidget(createConvertGroup());

    Button4 = new QPushButton(ExitAction->text(), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    connect(Button4, &QPushButton::clicked, ExitAction, &QAction::trigger);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button4);
    layout->addLayout(buttonRow);

    createStatusBar();
    layout->addWidget(StatusBar1);
}

QGroupBox* TdBSettingForm::createDatabaseGroup()
{
    auto* group = new QGroupBox(QStringLiteral("データベース"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QVBoxLayout(group);

    auto* kindLabel = new QLabel(QStringLiteral("種類"), group);
    kindLabel->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(
        {QStringLiteral("My SQL"), QStringLiteral("ODBC"), QStringLiteral("PARADOX")});
    kindLabel->setBuddy(ComboBox1);
    layout->addWidget(kindLabel);
    layout->addWidget(ComboBox1);
    // Only a pick by the user changes the field layout; selecting the stored
    // kind when the window opens does not.
    connect(ComboBox1, &QComboBox::activated, this, &TdBSettingForm::ComboBox1Change);

    const QString captions[] = {QStringLiteral("サーバー"), QStringLiteral("データベース"),
                                QStringLiteral("ユーザー"), QStringLiteral("パスワード")};
    void (TdBSettingForm::*changes[])() = {
        &TdBSettingForm::LabeledEdit1Change, &TdBSettingForm::LabeledEdit2Change,
        &TdBSettingForm::LabeledEdit3Change, &TdBSettingForm::LabeledEdit4Change};
    for (int edit = 1; edit <= 4; ++edit) {
        editBox_[edit] = new QWidget(group);
        editBox_[edit]->setObjectName(QStringLiteral("LabeledEdit%1Box").arg(edit));
        auto* box = new QVBoxLayout(editBox_[edit]);
        box->setContentsMargins(0, 0, 0, 0);
        editLabel_[edit] = new QLabel(captions[edit - 1], editBox_[edit]);
        LabeledEdit[edit] = new QLineEdit(editBox_[edit]);
        LabeledEdit[edit]->setObjectName(QStringLiteral("LabeledEdit%1").arg(edit));
        editLabel_[edit]->setBuddy(LabeledEdit[edit]);
        box->addWidget(editLabel_[edit]);
        auto* row = new QHBoxLayout;
        row->addWidget(LabeledEdit[edit]);
        box->addLayout(row);
        layout->addWidget(editBox_[edit]);
        if (edit == 2) {
            // The folder chooser of the folder store, beside the box it fills.
            ParadoxOpenButton = new QToolButton(editBox_[edit]);
            ParadoxOpenButton->setObjectName(QStringLiteral("ParadoxOpenButton"));
            ParadoxOpenButton->setText(QStringLiteral("..."));
            ParadoxOpenButton->setToolTip(ParadoxOpenAction->text());
            ParadoxOpenButton->hide();
            connect(ParadoxOpenButton, &QToolButton::clicked, ParadoxOpenAction, &QAction::trigger);
            row->addWidget(ParadoxOpenButton);
        }
        connect(LabeledEdit[edit], &QLineEdit::textChanged, this, changes[edit - 1]);
    }
    LabeledEdit[4]->setEchoMode(QLineEdit::Password);
    LabeledEdit[2]->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("設定・接続確認"), group);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TdBSettingForm::Button1Click);
    Label1 = new QLabel(group);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Button1);
    buttonRow->addWidget(Label1);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    layout->addStretch();
    return group;
}

QGroupBox* TdBSettingForm::createTableGroup()
{
    auto* group = new QGroupBox(QStringLiteral("テーブル"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QVBoxLayout(group);

    Button2 = new QPushButton(QStringLiteral("テーブル一覧"), group);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, GetTabelNamesAction, &QAction::trigger);
    layout->addWidget(Button2);

    ListBox1 = new QListWidget(group);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            &TdBSettingForm::SelectTableActionExecute);
    layout->addWidget(ListBox1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(SelectTableAction);
    PopupMenu1->addAction(DeleteTableAction);
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });
    updatePopupAttachment();

    auto* tableLabel = new QLabel(QStringLiteral("使用テーブル"), group);
    LabeledEdit[5] = new QLineEdit(group);
    LabeledEdit[5]->setObjectName(QStringLiteral("LabeledEdit5"));
    tableLabel->setBuddy(LabeledEdit[5]);
    editLabel_[5] = tableLabel;
    connect(LabeledEdit[5], &QLineEdit::textChanged, this, &TdBSettingForm::LabeledEdit5Change);
    layout->addWidget(tableLabel);
    layout->addWidget(LabeledEdit[5]);

    Button3 = new QPushButton(CreateTableAction->text(), group);
    Button3->setObjectName(QStringLiteral("Button3"));
    connect(Button3, &QPushButton::clicked, CreateTableAction, &QAction::trigger);
    layout->addWidget(Button3);
    return group;
}

QGroupBox* TdBSettingForm::createConvertGroup()
{
    auto* group = new QGroupBox(QStringLiteral("コンバート"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto* layout = new QHBoxLayout(group);
    const auto button = [&](const char* name, QAction* action) {
        auto* made = new QPushButton(action->text(), group);
        made->setObjectName(QString::fromLatin1(name));
        connect(made, &QPushButton::clicked, action, &QAction::trigger);
        layout->addWidget(made);
        return made;
    };
    Button7 = button("Button7", WriteCsvFileAction);
    Button8 = button("Button8", ReadCsvFileAction);
    layout->addStretch();
    return group;
}

void TdBSettingForm::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int panel = 0; panel < 2; ++panel) {
        statusPanel_[panel] = new QLabel(StatusBar1);
        statusPanel_[panel]->setObjectName(QStringLiteral("StatusPanel%1").arg(panel + 1));
        statusPanel_[panel]->setFixedWidth(StatusPanelWidth);
        StatusBar1->addWidget(statusPanel_[panel]);
    }
    // The progress bar sits over the second panel; it is shown only while a
    // long operation reports its progress.
    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(StatusPanelWidth + 2, 2, StatusPanelWidth - 4,
                              StatusBar1->sizeHint().height() - 4);
    ProgressBar1->hide();
}
