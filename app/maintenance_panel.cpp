// The maintenance figures beside the totals, and the window that sets their
// limits.
#include "app/maintenance_panel.h"

#include "app/grid/fix_db_grid.h"
#include "app/maintenance_limits_form.h"
#include "app/skelvo_main_form.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "maintenance/maintenance_rows.h"
#include "maintenance/maintenance_settings.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const ItemNames[] = {"EngineHours",    "EngineYears",        "PropellerHours",
                                 "PropellerYears", "AirframeInspection", "Airworthiness"};
const char* const StateNames[] = {"green", "amber", "red", "unknown"};
const char* const StateColours[] = {"#007a00", "#b36b00", "#c00000", "palette(text)"};

} // namespace

TMaintenancePanel::TMaintenancePanel(QWidget* parent)
    : QGroupBox(QStringLiteral("整備期限"), parent), lines_(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("MaintenancePanel"));
    lines_->setSpacing(0);
    hide();
}

void TMaintenancePanel::showStatuses(const std::vector<Maintenance::Status>& statuses)
{
    while (QLayoutItem* item = lines_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const Maintenance::Status& status : statuses) {
        const QString due = Maintenance::dueText(status);
        auto* line = new QPushButton(
            QStringLiteral("%1  %2%3")
                .arg(Maintenance::title(status.item), Maintenance::remainingText(status),
                     due.isEmpty() ? QString() : QStringLiteral("  (%1)").arg(due)),
            this);
        line->setObjectName(QStringLiteral("Maintenance%1").arg(ItemNames[int(status.item)]));
        line->setProperty("maintenanceState", StateNames[int(status.state)]);
        line->setFlat(true);
        line->setFocusPolicy(Qt::NoFocus); // the keys stay with the grid
        line->setStyleSheet(QStringLiteral("QPushButton { color: %1; font-weight: bold; "
                                           "text-align: left; padding: 0 4px; }")
                                .arg(StateColours[int(status.state)]));
        line->setToolTip(QStringLiteral("クリックで起算の行へ移動"));
        connect(line, &QPushButton::clicked, this,
                [this, row = status.startRow] { emit rowChosen(row); });
        lines_->addWidget(line);
        line->show(); // at once, not when the layout next gets round to it
    }
    setVisible(!statuses.empty());
}

void TSkelvoMainForm::ShowMaintenance()
{
    const DataSet* dataSet = openDataSet();
    if (!dataSet) {
        MaintenancePanel1->showStatuses({});
        return;
    }
    const Maintenance::Limits limits = Maintenance::readLimits(IniFileName, store().TableName);
    MaintenancePanel1->showStatuses(
        Maintenance::evaluate(Maintenance::rowFacts(*dataSet), limits, QDate::currentDate()));
}

void TSkelvoMainForm::MaintenanceRowChosen(int row)
{
    runCommand(this, [this, row] {
        if (DataSet* dataSet = openDataSet())
            dataSet->setRecNo(row + 1);
    });
    FixDBGrid1->setFocus();
}

void TSkelvoMainForm::MaintenanceLimitsActionExecute()
{
    if (!openDataSet()) {
        MessageBox::warn(this, QStringLiteral("テーブルが開かれていません。"));
        return;
    }
    TMaintenanceLimitsForm form(IniFileName, store().TableName, this);
    if (form.exec() == QDialog::Accepted)
        ShowMaintenance();
}
