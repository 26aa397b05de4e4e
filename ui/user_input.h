#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The input box and the file dialogs, with test hooks: a set hook is asked
// instead of showing a window.
namespace UserInput {

// An input box pre-filled with text; nothing back means Cancel.
std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& text);

struct FileRequest
{
    bool save = false; // a save dialog, which asks before replacing a file
    QString title;
    QString proposed; // folder and file name offered first
    QString filter;   // "名前 (*.CDF);;すべて (*)"
    QString suffix;   // added to a name typed without one
};
// The chosen file, empty when cancelled.
QString chooseFile(QWidget* parent, const FileRequest& request);

using TextHook = std::function<std::optional<QString>(const QString& caption, const QString& prompt,
                                                      const QString& text)>;
using FileHook = std::function<QString(const FileRequest& request)>;
void setTextTestHook(TextHook hook);
void setFileTestHook(FileHook hook);

} // namespace UserInput
