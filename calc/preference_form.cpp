#include "calc/preference_form.h"

#include "calc/preference_rules.h"
#include "core/preferences.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

using preference_rules::CountingOption;

namespace {

QCheckBox* makeCheckBox(QWidget* parent, int number, const QString& caption,
                        const QString& hint = {})
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(number));
    if (!hint.isEmpty())
        box->setToolTip(hint);
    return box;
}

// A spin box that lets a number beyond its range be typed and brings it to
// the nearest limit when the box is left; text that is no number counts as
// the minimum. A plain spin box refuses such keystrokes instead.
class LimitingSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

    QValidator::State validate(QString& text, int& pos) const override
    {
        const QValidator::State state = QSpinBox::validate(text, pos);
        if (state != QValidator::Invalid)
            return state;
        bool isNumber = false;
        text.toInt(&isNumber);
        return isNumber ? QValidator::Intermediate : state;
    }

    void fixup(QString& input) const override
    {
        bool isNumber = false;
        const int typed = input.toInt(&isNumber);
        if (isNumber)
            input = QString::number(std::clamp(typed, minimum(), maximum()));
    }
};

QSpinBox* makeSpinEdit(QWidget* parent, int number, int minimum, int maximum)
{
    auto* spin = new LimitingSpinBox(parent);
    spin->setObjectName(QStringLiteral("SpinEdit%1").arg(number));
    spin->setRange(minimum, maximum);
    // Text that cannot be read falls to the minimum, not back to the
    // previous value.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return spin;
}

QLabel* makeLabel(QWidget* parent, int number, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    return label;
}

} // namespace

TPreferenceForm::TPreferenceForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PreferenceForm"));
    setWindowTitle(QStringLiteral("環境設定"));
    buildWidgets();
    connectExclusions();
    connect(CheckBox5, &QCheckBox::toggled, this, &TPreferenceForm::CheckBox5Click);
    connect(Button1, &QPushButton::clicked, this, &TPreferenceForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TPreferenceForm::Button2Click);
}

void TPreferenceForm::buildWidgets()
{
    auto* layout = new QVBoxLayout(this);

    GroupBox1 = new QGroupBox(QStringLiteral("入力支援"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* aids = new QVBoxLayout(GroupBox1);
    CheckBox10 = makeCheckBox(GroupBox1, 10, QStringLiteral("英字は大文字で入力する"));
    CheckBox4 = makeCheckBox(GroupBox1, 4, QStringLiteral("乗組員氏名に漢字を使う"),
                             QStringLiteral("自動で漢字変換が起動します"));
    CheckBox5 = makeCheckBox(GroupBox1, 5, QStringLiteral("発進と停止を自動計算する"),
                             QStringLiteral("離陸から発進時間を、着陸から停止時間を計算します"));
    SpinEdit1 = makeSpinEdit(GroupBox1, 1, preference_rules::MinOffsetMinutes,
                             preference_rules::MaxOffsetMinutes);
    Label1 = makeLabel(GroupBox1, 1, QStringLiteral("分"));
    Label2 = makeLabel(GroupBox1, 2, QStringLiteral("常置場所(飛行場名)"));
    Label2->setToolTip(
        QStringLiteral("[HOME]キーを押すと出発飛行場名、着陸飛行場名が入力されます"));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2->setBuddy(Edit1);
    aids->addWidget(CheckBox10);
    aids->addWidget(CheckBox4);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(CheckBox5);
    offsetRow->addWidget(SpinEdit1);
    offsetRow->addWidget(Label1);
    offsetRow->addStretch();
    aids->addLayout(offsetRow);
    auto* homeRow = new QHBoxLayout;
    homeRow->addWidget(Label2);
    homeRow->addWidget(Edit1);
    aids->addLayout(homeRow);
    layout->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral("計算指定"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* counting = new QVBoxLayout(GroupBox2);
    CheckBox1 = makeCheckBox(GroupBox2, 1, QStringLiteral("航行時間で計算する"),
                             QStringLiteral("機体の使用時間を航行時間で計算します"));
    CheckBox2 = makeCheckBox(GroupBox2, 2, QStringLiteral("エンジンの運転時間に地上時間を含める"),
                             QStringLiteral("エンジンの使用時間に地上での時間を含めます"));
    CheckBox3 = makeCheckBox(GroupBox2, 3, QStringLiteral("プロペラの運転時間に地上時間を含める"),
                             QStringLiteral("プロペラの使用時間に地上での時間を含めます"));
    CheckBox6 = makeCheckBox(
        GroupBox2, 6,
        QStringLiteral("エンジン、プロペラの運転時間に動力停止時間を加減算する(飛行型モグラ)"),
        QStringLiteral("動力(+/-)項目で入力した値を加算します 減算するときはマイナスを付けます"));
    CheckBox7 = makeCheckBox(
        GroupBox2, 7,
        QStringLiteral("エンジン、プロペラの運転時間は動力作動時間で計算する(動力格納式モグラ)"),
        QStringLiteral("動力(+/-)項目で入力した値がエンジン、プロペラの運転時間になります"));
    CheckBox8 = makeCheckBox(
        GroupBox2, 8,
        QStringLiteral("ロシアン・システム／地上時間の一部をエンジン、プロペラ時間に加算する"),
        QStringLiteral("地上時間に指定の割合を乗じて、エンジン、プロペラ使用時間に加算します"));
    SpinEdit2 = makeSpinEdit(GroupBox2, 2, 0, 100);
    Label3 = makeLabel(GroupBox2, 3, QStringLiteral("％"));
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox6, CheckBox7})
        counting->addWidget(box);
    auto* russianRow = new QHBoxLayout;
    russianRow->addWidget(CheckBox8);
    russianRow->addWidget(SpinEdit2);
    russianRow->addWidget(Label3);
    russianRow->addStretch();
    counting->addLayout(russianRow);
    layout->addWidget(GroupBox2);

    GroupBox3 = new QGroupBox(QStringLiteral("印刷"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    auto* printing = new QVBoxLayout(GroupBox3);
    CheckBox9 =
        makeCheckBox(GroupBox3, 9, QStringLiteral("スケルボの記事欄を印刷する(従来のデザイン)"),
                     QStringLiteral("チェックをはずすと記事欄を印刷しません"));
    printing->addWidget(CheckBox9);
    layout->addWidget(GroupBox3);

    Button1 = new QPushButton(QStringLiteral("設定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
}

void TPreferenceForm::connectExclusions()
{
    const std::pair<CountingOption, QCheckBox*> boxes[] = {
        {CountingOption::E_IncGround, CheckBox2}, {CountingOption::P_IncGround, CheckBox3},
        {CountingOption::GliderAdd1, CheckBox6},  {CountingOption::GliderAdd2, CheckBox7},
        {CountingOption::RussianSys, CheckBox8},
    };
    const auto boxOf = [boxes](CountingOption option) {
        for (const auto& [candidate, box] : boxes)
            if (candidate == option)
                return box;
        return static_cast<QCheckBox*>(nullptr);
    };
    // toggled rather than clicked: loading the values must resolve
    // conflicting stored options by the same rules as the user's clicks.
    for (const auto& [option, box] : boxes)
        connect(box, &QCheckBox::toggled, this, [option, boxOf](bool checked) {
            if (!checked)
                return;
            for (CountingOption cleared : preference_rules::clearedBySwitchingOn(option))
                boxOf(cleared)->setChecked(false);
        });
}

void TPreferenceForm::setPreferences(Preferences* values)
{
    values_ = values;
}

void TPreferenceForm::showEvent(QShowEvent* event)
{
    // A show coming from the window system (a restored window) must not
    // throw away what the user has changed so far.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TPreferenceForm::FormShow()
{
    if (!values_)
        return;
    const Preferences& v = *values_;
    // Starting from cleared boxes makes every stored option a switch-on, so
    // the exclusions apply whatever the boxes held from the last showing;
    // of two conflicting stored options the one loaded later wins.
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6,
                           CheckBox7, CheckBox8, CheckBox9, CheckBox10})
        box->setChecked(false);
    CheckBox1->setChecked(v.UseBlockTime);
    CheckBox2->setChecked(v.E_IncGround);
    CheckBox3->setChecked(v.P_IncGround);
    CheckBox6->setChecked(v.GliderAdd1);
    CheckBox7->setChecked(v.GliderAdd2);
    CheckBox8->setChecked(v.RussianSys);
    CheckBox4->setChecked(v.UseIME);
    CheckBox5->setChecked(v.AutoBlockTime);
    CheckBox9->setChecked(v.OldPattern);
    CheckBox10->setChecked(v.UseCapsLock);
    SpinEdit1->setValue(preference_rules::offsetMinutesFromText(v.AutoOffsetTime));
    SpinEdit1->setEnabled(CheckBox5->isChecked());
    Edit1->setText(v.Home);
    SpinEdit2->setValue(v.RussianValue);
}

void TPreferenceForm::Button1Click()
{
    if (values_) {
        Preferences& v = *values_;
        v.UseBlockTime = CheckBox1->isChecked();
        v.E_IncGround = CheckBox2->isChecked();
        v.P_IncGround = CheckBox3->isChecked();
        v.GliderAdd1 = CheckBox6->isChecked();
        v.GliderAdd2 = CheckBox7->isChecked();
        v.RussianSys = CheckBox8->isChecked();
        v.UseIME = CheckBox4->isChecked();
        v.AutoBlockTime = CheckBox5->isChecked();
        v.OldPattern = CheckBox9->isChecked();
        v.UseCapsLock = CheckBox10->isChecked();
        // The offset is kept even while automatic start/stop is off, so it
        // comes back when the option is switched on again.
        v.AutoOffsetTime = preference_rules::offsetTextFromMinutes(SpinEdit1->value());
        v.Home = Edit1->text();
        v.RussianValue = SpinEdit2->value();
    }
    accept();
}

void TPreferenceForm::Button2Click()
{
    reject();
}

void TPreferenceForm::CheckBox5Click(bool checked)
{
    SpinEdit1->setEnabled(checked);
}
