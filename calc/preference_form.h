#pragma once

#include <QDialog>

// The preferences dialog, where the counting rules and input aids are
// chosen.
class TPreferenceForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPreferenceForm(QWidget* parent = nullptr);
};
