#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The top of the folder tree the chooser starts from.
enum TRootFolder
{
    rfDeskTop,
    rfDrives,
    rfNetWork,
};

// Picks one folder in a modal directory chooser over its owner window.
// The chooser is Qt's own (not the platform's), so it looks and behaves
// the same everywhere, including the status line with the selected path.
class TFolderDialog : public QObject
{
public:
    explicit TFolderDialog(QWidget* owner);

    TRootFolder RootFolder = rfDeskTop;
    QString Title = QStringLiteral("フォルダーを選択して下さい。");
    // In: the folder to preselect when it exists; out: the folder picked.
    QString Folder;

    // True when the user picked a folder; false when cancelled.
    bool Execute();

    // Where the chooser starts for each root.
    static QString rootPath(TRootFolder root);

    // What the chooser would be shown with.
    struct Request
    {
        TRootFolder root;
        QString rootPath;
        QString title;
        QString preselected; // empty when Folder names no existing folder
    };
    // Test hook: when set, it is asked instead of showing the chooser. It
    // returns the picked path (empty: an item without a path), or nothing
    // for a cancel.
    using TestHook = std::function<std::optional<QString>(const Request&)>;
    static void setTestHook(TestHook hook);

private:
    std::optional<QString> showChooser(const Request& request) const;

    QWidget* owner_;
};
