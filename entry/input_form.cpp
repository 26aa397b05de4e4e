#include "entry/input_form.h"

#include "core/settings_keys.h"
#include "entry/db_controls.h"
#include "entry/entry_line_edit.h"
#include "entry/input_modes.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

const QString PageNumberHint =
    QStringLiteral("0は自動加算、0以外の数字を入れるとページ番号になります");

QLabel* label(const char* text, QWidget* parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

} // namespace

TInputForm::TInputForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("InputForm"));
    setWindowTitle(QStringLiteral("航空日誌入力"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    setFixedSize(528, 419);

    auto* layout = new QGridLayout(this);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    layout->addWidget(GroupBox1, 0, 0);
    layout->addWidget(GroupBox2, 0, 1);
    buildLeftGroup();
    buildRightGroup();

    auto* pages = new QGridLayout;
    const char* pageLabels[] = {"ページ番号", "E ページ番号", "P ページ番号"};
    const char* pageColumns[] = {"pageno", "e_pageno", "p_pageno"};
    for (int i = 0; i < 3; ++i) {
        TDBEdit* box = addEdit(4 + i, pageColumns[i]);
        box->setToolTip(PageNumberHint);
        box->setFocusPolicy(Qt::ClickFocus);
        pages->addWidget(label(pageLabels[i], this), i, 0);
        pages->addWidget(box, i, 1);
    }
    layout->addLayout(pages, 1, 1);

    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("保存"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons, 1, 0, Qt::AlignTop);
    // A click on a button leaves the box being typed in only through what
    // the button does: cancelling runs no leave rules, and saving runs them
    // once, not again as the button takes the focus.
    Button1->setFocusPolicy(Qt::TabFocus);
    Button2->setFocusPolicy(Qt::TabFocus);
    connect(Button1, &QPushButton::clicked, this, &TInputForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    buildActions();
    buildTabOrder();
    connect(qApp, &QApplication::focusChanged, this, &TInputForm::focusMoved);
}

// QWidget's destructor deletes the boxes, and each gives the focus up on its
// way out; by then this is no TInputForm any more, so focusMoved must not run.
TInputForm::~TInputForm()
{
    if (qApp)
        disconnect(qApp, &QApplication::focusChanged, this, &TInputForm::focusMoved);
}

TDBEdit* TInputForm::addEdit(int number, const char* column)
{
    auto* box = new TDBEdit(this);
    box->setObjectName(QStringLiteral("DBEdit%1").arg(number));
    box->setProperty("column", QString::fromLatin1(column));
    edits_[number] = box;
    InputModes::install(box, InputModes::Ime::Closed);
    limitText(box, QString::fromLatin1(column));
    return box;
}

void TInputForm::limitText(QLineEdit* box, const QString& column)
{
    auto* validator = new TextLimitValidator(column, box);
    box->setValidator(validator);
    limits_.append(validator);
}

QComboBox* TInputForm::addHistoryBox(int number)
{
    auto* box = new QComboBox(GroupBox1);
    box->setObjectName(QStringLiteral("ComboBox%1").arg(number));
    box->setLineEdit(new EntryLineEdit(box));
    box->setInsertPolicy(QComboBox::NoInsert);
    historyBoxes_[number - 1] = box;
    // Each list is named after the column its box fills.
    box->setProperty("column", QString::fromLatin1(Settings::HistoryListNames[number - 1]));
    const bool closed = number >= 2 && number <= 4;
    InputModes::install(box, closed ? InputModes::Ime::Closed : InputModes::Ime::Unchanged);
    box->view()->installEventFilter(this);
    limitText(box->lineEdit(), QString::fromLatin1(Settings::HistoryListNames[number - 1]));
    if (number == 1)
        connect(box->lineEdit(), &QLineEdit::textEdited, this, &TInputForm::ComboBoxChange);
    return box;
}

void TInputForm::buildLeftGroup()
{
    auto* grid = new QGridLayout(GroupBox1);
    int row = 0;
    const auto addRow = [&](const char* caption, QWidget* first, QWidget* second = nullptr) {
        grid->addWidget(label(caption, GroupBox1), row, 0);
        grid->addWidget(first, row, 1, 1, second ? 1 : 2);
        if (second)
            grid->addWidget(second, row, 2);
        ++row;
    };
    addRow("年月日", addEdit(1, "yyyy"), addEdit(2, "mmdd"));
    const char* historyCaptions[] = {"乗組員氏名", "飛行目的", "出発地", "到着地"};
    for (int i = 0; i < 4; ++i)
        addRow(historyCaptions[i], addHistoryBox(i + 1));
    const char* clockCaptions[] = {"発進", "離陸", "着陸", "停止"};
    const char* clockColumns[] = {"outtime", "offtime", "ontime", "intime"};
    for (int i = 0; i < 4; ++i)
        addRow(clockCaptions[i], addEdit(7 + i, clockColumns[i]));
    addRow("備考", addHistoryBox(5));
    addRow("動力(+/-)", addEdit(3, "glider"));

    const char* textCaptions[] = {"航行時間", "飛行時間"};
    const char* textColumns[] = {"blocktime", "flighttime"};
    for (int i = 0; i < 2; ++i) {
        auto* text = new TDBText(GroupBox1);
        text->setObjectName(QStringLiteral("DBText%1").arg(i + 1));
        text->setProperty("column", QString::fromLatin1(textColumns[i]));
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        text->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
        QPalette blue = text->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        text->setPalette(blue);
        texts_[i] = text;
    }
    addRow(textCaptions[1], texts_[1]);
    addRow(textCaptions[0], texts_[0]);
}

void TInputForm::buildRightGroup()
{
    auto* grid = new QGridLayout(GroupBox2);
    const char* checkCaptions[] = {"機体をオーバーホール", "エンジンをオーバーホール",
                                   "プロペラをオーバーホール", "耐空検査"};
    for (int i = 0; i < EntryRow::CheckCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(checkCaptions[i]), GroupBox2);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setFocusPolicy(Qt::ClickFocus);
        checks_[i] = box;
        if (i < 3)
            connect(box, &QCheckBox::clicked, this, [this, i] { CheckBoxClick(i); });
    }
    for (int i = 0; i < 3; ++i)
        grid->addWidget(checks_[i], i, 0, 1, 3);

    const char* pairCaptions[] = {"機体航行時間", "エンジン時間", "プロペラ時間"};
    const char* pairColumns[][2] = {
        {"sincema", "sinceov"}, {"e_sincema", "e_sinceov"}, {"p_sincema", "p_sinceov"}};
    int row = 3;
    for (int pair = 0; pair < 3; ++pair) {
        grid->addWidget(label(pairCaptions[pair], GroupBox2), row++, 0, 1, 3);
        for (int k = 0; k < 2; ++k) {
            TDBEdit* box = addEdit(12 + pair * 2 + k, pairColumns[pair][k]);
            grid->addWidget(label(k == 0 ? "製造後" : "ＯＨ後", GroupBox2), row, 1);
            grid->addWidget(box, row++, 2);
        }
    }
    grid->addWidget(checks_[3], row, 0, 1, 3);
}

void TInputForm::buildActions()
{
    const auto radioPair = [this](const char* onName, const char* onCaption, const char* offName,
                                  const char* offCaption) {
        auto* group = new QActionGroup(this);
        std::array<QAction*, 2> pair{};
        const char* names[] = {onName, offName};
        const char* captions[] = {onCaption, offCaption};
        for (int i = 0; i < 2; ++i) {
            pair[i] = new QAction(QString::fromUtf8(captions[i]), group);
            pair[i]->setObjectName(QString::fromLatin1(names[i]));
            pair[i]->setCheckable(true);
        }
        return pair;
    };
    const auto imePair =
        radioPair("ImeOnAction", "文字変換機能オン", "ImeOffAction", "文字変換機能オフ");
    ImeOnAction = imePair[0];
    ImeOffAction = imePair[1];
    const auto capsPair =
        radioPair("CapsLockOnAction", "大文字で入力", "CapsLockOffAction", "普通に入力");
    CapsLockOnAction = capsPair[0];
    CapsLockOffAction = capsPair[1];
    connect(ImeOnAction, &QAction::triggered, this, &TInputForm::ImeOnActionExecute);
    connect(ImeOffAction, &QAction::triggered, this, &TInputForm::ImeOffActionExecute);
    connect(CapsLockOnAction, &QAction::triggered, this, &TInputForm::CapsLockOnActionExecute);
    connect(CapsLockOffAction, &QAction::triggered, this, &TInputForm::CapsLockOffActionExecute);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addActions({ImeOnAction, ImeOffAction});
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addActions({CapsLockOnAction, CapsLockOffAction});

    const auto attach = [](QWidget* box, QMenu* menu) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, menu,
                [box, menu](const QPoint& at) { menu->popup(box->mapToGlobal(at)); });
    };
    attach(historyBoxes_[0], PopupMenu1);
    attach(historyBoxes_[4], PopupMenu1);
    for (int i = 1; i <= 3; ++i)
        attach(historyBoxes_[i], PopupMenu2);
    attach(edits_[3], PopupMenu2);
}

void TInputForm::buildTabOrder()
{
    QList<QWidget*> order{Button1, Button2, edits_[1], edits_[2]};
    for (int i = 0; i < 4; ++i)
        order.append(historyBoxes_[i]);
    for (int number = 7; number <= 10; ++number)
        order.append(edits_[number]);
    order.append({historyBoxes_[4], edits_[3]});
    for (int number = 12; number <= 17; ++number)
        order.append(edits_[number]);
    order.append({edits_[4], edits_[5], edits_[6]});
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // The keys of both groups' boxes: Enter, the arrows, HOME, and leaving.
    for (QWidget* box : order.mid(2, order.size() - 5))
        box->installEventFilter(this);
    for (QCheckBox* box : checks_)
        box->installEventFilter(this);
}

void TInputForm::bind(DataSource* source, Preferences* preferences, const QString& iniFileName)
{
    source_ = source;
    preferences_ = preferences;
    iniFileName_ = iniFileName;
    for (TDBEdit* box : edits_) {
        if (box)
            box->bind(source, box->property("column").toString());
    }
    for (TDBText* text : texts_)
        text->bind(source, text->property("column").toString());
}

void TInputForm::enableBox(TDBEdit* box, bool enabled, bool tabStop)
{
    box->setEnabled(enabled);
    box->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    // The window colour when open for typing, the light 3-D colour when not.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     enabled ? QApplication::palette().color(QPalette::Active, QPalette::Base)
                             : QApplication::palette().color(QPalette::Midlight));
    box->setPalette(palette);
}
