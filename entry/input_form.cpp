#include "entry/input_form.h"

#include <QComboBox>
#include <QFormLayout>

TInputForm::TInputForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InputForm"));
    setWindowTitle(QStringLiteral("航空日誌入力"));
    auto* layout = new QFormLayout(this);
    const QString labels[] = {QStringLiteral("乗組員氏名"), QStringLiteral("飛行目的"),
                              QStringLiteral("出発地"), QStringLiteral("到着地"),
                              QStringLiteral("備考")};
    for (int i = 0; i < 5; ++i) {
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        box->setEditable(true);
        layout->addRow(labels[i], box);
        historyBoxes_[i] = box;
    }
}
