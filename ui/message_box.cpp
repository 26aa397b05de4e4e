#include "ui/message_box.h"

#include <QApplication>
#include <QList>
#include <utility>

namespace MessageBox {
namespace {

struct TestState
{
    bool on = false;
    QList<bool> answers;
    QList<Recorded> recorded;
};

TestState& testState()
{
    static TestState state;
    return state;
}

QString caption()
{
    return QApplication::applicationDisplayName();
}

// Shows the box, or in test mode records it and takes the pre-set answer
// (a question with none pre-set counts as refused). Enter gives yes unless
// another default is named.
bool show(QWidget* parent, Kind kind, const QString& text, QMessageBox::StandardButtons buttons,
          QMessageBox::StandardButton yes,
          QMessageBox::StandardButton byDefault = QMessageBox::NoButton)
{
    if (byDefault == QMessageBox::NoButton)
        byDefault = yes;
    TestState& state = testState();
    if (state.on) {
        state.recorded.append({kind, text, byDefault == yes});
        return state.answers.isEmpty() ? kind != Kind::Question : state.answers.takeFirst();
    }
    const QMessageBox::Icon icon = kind == Kind::Question  ? QMessageBox::Question
                                   : kind == Kind::Warning ? QMessageBox::Warning
                                   : kind == Kind::Error   ? QMessageBox::Critical
                                                           : QMessageBox::Information;
    QMessageBox box(icon, caption(), text, buttons, parent);
    box.setDefaultButton(byDefault);
    return box.exec() == yes;
}

} // namespace

bool askYesNo(QWidget* parent, const QString& text, Answer byDefault)
{
    return show(parent, Kind::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                byDefault == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
}

bool askOkCancel(QWidget* parent, const QString& text)
{
    return show(parent, Kind::Question, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok);
}

void warn(QWidget* parent, const QString& text)
{
    show(parent, Kind::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void inform(QWidget* parent, const QString& text)
{
    show(parent, Kind::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void error(QWidget* parent, const QString& text)
{
    show(parent, Kind::Error, text, QMessageBox::Ok, QMessageBox::Ok);
}

void setTestMode(bool on)
{
    testState() = TestState{on, {}, {}};
}

void answerNext(bool answer)
{
    testState().answers.append(answer);
}

QList<Recorded> takeRecorded()
{
    return std::exchange(testState().recorded, {});
}

} // namespace MessageBox
