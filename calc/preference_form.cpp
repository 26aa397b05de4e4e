#include "calc/preference_form.h"

TPreferenceForm::TPreferenceForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PreferenceForm"));
    setWindowTitle(QStringLiteral("環境設定"));
}
