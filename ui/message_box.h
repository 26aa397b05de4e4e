#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Every message and question box of the program goes through here, so that
// tests can answer the next box in advance and read what it said instead of
// waiting on a modal window.
namespace MessageBox {

enum class Kind
{
    Information, // asterisk messages
    Warning,     // refusals, with OK
    Error,       // a failure shown by the general error display
    Question,    // confirmations, with Yes and No (or OK and Cancel)
};

// The answer Enter gives to a question.
enum class Answer
{
    Yes,
    No,
};

// Yes/No question; true for Yes.
bool askYesNo(QWidget* parent, const QString& text, Answer byDefault = Answer::Yes);
// OK/Cancel question; true for OK.
bool askOkCancel(QWidget* parent, const QString& text);
void warn(QWidget* parent, const QString& text);
void inform(QWidget* parent, const QString& text);
void error(QWidget* parent, const QString& text);

// Test hook: the boxes shown record their texts; a pre-set answer is used
// for the next question instead of showing it (true = Yes/OK).
struct Recorded
{
    Kind kind;
    QString text;
    bool defaultIsYes = true; // a question's answer to Enter
};
void setTestMode(bool on);
void answerNext(bool answer);
QList<Recorded> takeRecorded();

} // namespace MessageBox
