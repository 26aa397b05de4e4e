#pragma once

#include <QDialog>
#include <array>

class QComboBox;

// The entry dialog, where a flight is entered or edited. Its five history
// boxes hold the crew, purpose, departure, arrival and remarks lists for the
// whole run.
class TInputForm : public QDialog
{
    Q_OBJECT

public:
    explicit TInputForm(QWidget* parent = nullptr);

    // ComboBox1 to ComboBox5, in the order of the history list names.
    const std::array<QComboBox*, 5>& historyBoxes() const { return historyBoxes_; }

private:
    std::array<QComboBox*, 5> historyBoxes_{};
};
