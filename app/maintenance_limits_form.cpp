#include "app/maintenance_limits_form.h"

#include "maintenance/maintenance_settings.h"
#include "ui/message_box.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

using Maintenance::Limits;

const TMaintenanceLimitsForm::Box TMaintenanceLimitsForm::Boxes[] = {
    {"EngineHoursEdit", "エンジン オーバーホール間隔 (時間)", &Limits::engineHours,
     Maintenance::MaxHours, false},
    {"EngineYearsEdit", "エンジン オーバーホール間隔 (年)", &Limits::engineYears,
     Maintenance::MaxYears, false},
    {"PropellerHoursEdit", "プロペラ オーバーホール間隔 (時間)", &Limits::propellerHours,
     Maintenance::MaxHours, false},
    {"PropellerYearsEdit", "プロペラ オーバーホール間隔 (年)", &Limits::propellerYears,
     Maintenance::MaxYears, false},
    {"AirframeInspectionHoursEdit", "機体点検間隔 (OH後 時間)", &Limits::airframeInspectionHours,
     Maintenance::MaxHours, false},
    {"AirworthinessYearsEdit", "耐空検査の有効期間 (年)", &Limits::airworthinessYears,
     Maintenance::MaxYears, false},
    {"AirworthinessDaysEdit", "耐空検査の有効期間 (日)", &Limits::airworthinessDays,
     Maintenance::MaxDays, false},
    {"MarginPercentEdit", "時間の予告 (間隔の％)", &Limits::marginPercent,
     Maintenance::MaxMarginPercent, true},
    {"MarginDaysEdit", "日付の予告 (日前)", &Limits::marginDays, Maintenance::MaxDays, true},
};

namespace {

// Whole numbers as typed, full-width digits included; nothing for any other
// text or a value beyond max.
std::optional<int> readWhole(const QString& typed, int max)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.digitValue() < 0)
            return std::nullopt;
        value = value * 10 + c.digitValue();
        if (value > max)
            return std::nullopt;
    }
    return int(value);
}

} // namespace

TMaintenanceLimitsForm::TMaintenanceLimitsForm(const QString& iniFileName, const QString& table,
                                               QWidget* parent)
    : QDialog(parent), iniFileName_(iniFileName), table_(table)
{
    static_assert(std::size(Boxes) == BoxCount);
    setObjectName(QStringLiteral("MaintenanceLimitsForm"));
    setWindowTitle(QStringLiteral("整備期限の設定 - %1").arg(table));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Limits limits = Maintenance::readLimits(iniFileName, table);
    // An aircraft without limits is offered the usual year of airworthiness.
    if (!limits.anySet())
        limits.airworthinessYears = 1;
    for (int i = 0; i < BoxCount; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(Boxes[i].name));
        const int value = limits.*Boxes[i].value;
        edit->setText(value == 0 && !Boxes[i].emptyIsDefault ? QString() : QString::number(value));
        edits_[i] = edit;
        form->addRow(QString::fromUtf8(Boxes[i].label), edit);
    }
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("空欄の期限は表示しません。"), this));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TMaintenanceLimitsForm::accept()
{
    Limits limits;
    for (int i = 0; i < BoxCount; ++i) {
        const Box& box = Boxes[i];
        QLineEdit* edit = edits_[i];
        if (edit->text().trimmed().isEmpty()) {
            limits.*box.value = box.emptyIsDefault ? Limits{}.*box.value : 0;
            continue;
        }
        const std::optional<int> value = readWhole(edit->text(), box.max);
        if (!value) {
            MessageBox::warn(this, QStringLiteral("%1: 「%2」は読めません。0 から %3 までの整数を"
                                                  "入力してください。")
                                       .arg(QString::fromUtf8(box.label), edit->text())
                                       .arg(box.max));
            edit->setFocus();
            edit->selectAll();
            return;
        }
        limits.*box.value = *value;
    }
    if (!Maintenance::writeLimits(iniFileName_, table_, limits)) {
        MessageBox::error(
            this, QStringLiteral("整備期限を設定ファイル %1 に書き込めません。").arg(iniFileName_));
        return;
    }
    QDialog::accept();
}
