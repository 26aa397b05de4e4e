#include "ui/user_input.h"

#include <QFileDialog>
#include <QInputDialog>

namespace UserInput {
namespace {

TextHook& textHook()
{
    static TextHook hook;
    return hook;
}

FileHook& fileHook()
{
    static FileHook hook;
    return hook;
}

} // namespace

void setTextTestHook(TextHook hook)
{
    textHook() = std::move(hook);
}

void setFileTestHook(FileHook hook)
{
    fileHook() = std::move(hook);
}

std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& text)
{
    if (textHook())
        return textHook()(caption, prompt, text);
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
    return ok ? std::optional<QString>(answer) : std::nullopt;
}

QString chooseFile(QWidget* parent, const FileRequest& request)
{
    if (fileHook())
        return fileHook()(request);
    QFileDialog dialog(parent, request.title, request.proposed, request.filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace UserInput
