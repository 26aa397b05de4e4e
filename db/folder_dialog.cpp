#include "db/folder_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QStandardPaths>
#include <QUrl>

namespace {

TFolderDialog::TestHook& testHook()
{
    static TFolderDialog::TestHook hook;
    return hook;
}

QString existingFolder(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return {};
    return QDir::toNativeSeparators(QDir(path).absolutePath());
}

// The status line under the chooser: the path of the folder selected, or
// nothing while the selection is not a folder.
QLabel* addStatusLine(QFileDialog& dialog, const QString& initial)
{
    auto* status = new QLabel(initial, &dialog);
    status->setObjectName(QStringLiteral("FolderStatus"));
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
    QObject::connect(&dialog, &QFileDialog::currentChanged, status,
                     [status](const QString& path) { status->setText(existingFolder(path)); });
    return status;
}

} // namespace

TFolderDialog::TFolderDialog(QWidget* owner) : QObject(owner), owner_(owner) {}

QString TFolderDialog::rootPath(TRootFolder root)
{
    switch (root) {
    case rfDeskTop: {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
    }
    case rfDrives:
    case rfNetWork:
        // Drives and network shares all hang below the file-system root
        // here; a Windows build shows them under "This PC" from there.
        return QDir::rootPath();
    }
    return QDir::homePath();
}

void TFolderDialog::setTestHook(TestHook hook)
{
    testHook() = std::move(hook);
}

bool TFolderDialog::Execute()
{
    const Request request{RootFolder, rootPath(RootFolder), Title, existingFolder(Folder)};
    const std::optional<QString> picked = testHook() ? testHook()(request) : showChooser(request);
    if (!picked)
        return false;
    if (!picked->isEmpty())
        Folder = QDir::toNativeSeparators(*picked);
    return true;
}

std::optional<QString> TFolderDialog::showChooser(const Request& request) const
{
    QFileDialog dialog(owner_, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSidebarUrls({QUrl::fromLocalFile(request.rootPath),
                           QUrl::fromLocalFile(QDir::homePath()),
                           QUrl::fromLocalFile(QDir::rootPath())});
    if (request.preselected.isEmpty()) {
        dialog.setDirectory(request.rootPath);
    } else {
        // Open the parent with the folder itself selected, as in a tree.
        const QDir folder(request.preselected);
        QDir parent = folder;
        if (parent.cdUp()) {
            dialog.setDirectory(parent);
            dialog.selectFile(folder.absolutePath());
        } else {
            dialog.setDirectory(folder);
        }
    }
    addStatusLine(dialog, request.preselected);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
