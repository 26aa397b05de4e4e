#include "app/skelvo_application.h"

#include "core/program_files.h"
#include "core/settings_keys.h"
#include "ui/command_guard.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

SkelvoApplication::SkelvoApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Skelvo"));
    setApplicationDisplayName(QStringLiteral("Skelvo"));
}

bool SkelvoApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    runCommand(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
    return result;
}

QString SkelvoApplication::iniFileName()
{
    const QString path = ProgramFiles::settingsFile(
        ProgramFiles::ofThisProgram(),
        QFileInfo(applicationFilePath()).completeBaseName() + QStringLiteral(".INI"));
    // A first start in the configuration folder shows there what can be set.
    if (!QFileInfo::exists(path))
        Settings::writeDefaults(path);
    return path;
}

void SkelvoApplication::loadJapanese()
{
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    for (const QString& family : {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}) {
        if (QFontDatabase::families().contains(family)) {
            setFont(QFont(family, 10));
            break;
        }
    }
}
