#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QSpinBox;
struct Preferences;

// The preferences dialog, where the counting rules and input aids are
// chosen. It edits the main window's values in place: every showing loads
// them, "設定" stores the controls back, "ｷｬﾝｾﾙ" leaves them as they were.
class TPreferenceForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPreferenceForm(QWidget* parent = nullptr);

    // The values the dialog edits; they belong to the main window and must
    // outlive the dialog's showings.
    void setPreferences(Preferences* values);

    QGroupBox* GroupBox1; // 入力支援
    QGroupBox* GroupBox2; // 計算指定
    QGroupBox* GroupBox3; // 印刷
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QSpinBox* SpinEdit1; // start/stop offset in minutes
    QSpinBox* SpinEdit2; // Russian system rate in percent
    QLineEdit* Edit1;    // home airfield
    QLabel* Label1;      // 分
    QLabel* Label2;      // 常置場所(飛行場名)
    QLabel* Label3;      // ％
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void CheckBox5Click(bool checked);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();
    void connectExclusions();

    Preferences* values_ = nullptr;
};
