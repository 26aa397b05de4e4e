#pragma once

#include "maintenance/maintenance_rules.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

// Where the maintenance limits of the open aircraft are set: whole hours,
// years and days, an empty box setting no limit. "OK" refuses a box it
// cannot read, naming it, and writes the limits to the settings file.
class TMaintenanceLimitsForm : public QDialog
{
    Q_OBJECT

public:
    TMaintenanceLimitsForm(const QString& iniFileName, const QString& table,
                           QWidget* parent = nullptr);

    void accept() override;

private:
    struct Box
    {
        const char* name; // object name of the box
        const char* label;
        int Maintenance::Limits::*value;
        int max;
        bool emptyIsDefault; // a margin left empty is its default, not zero
    };
    static const Box Boxes[];
    static constexpr int BoxCount = 9;

    QString iniFileName_;
    QString table_;
    std::array<QLineEdit*, BoxCount> edits_{};
};
