#pragma once

#include "maintenance/maintenance_rules.h"

#include <QGroupBox>
#include <vector>

class QVBoxLayout;

// Beside the totals: for each limit set, what remains and when it falls
// due, coloured by its state; a click names the row the count started on.
// Hidden while nothing is due.
class TMaintenancePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit TMaintenancePanel(QWidget* parent = nullptr);

    void showStatuses(const std::vector<Maintenance::Status>& statuses);

signals:
    void rowChosen(int row); // 0-based, in table order

private:
    QVBoxLayout* lines_;
};
