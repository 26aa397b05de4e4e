// Drives the installed program from inside its own process, by the names of
// its windows and controls, the way a new user does on a first start: a
// folder store is set up, a table created, the opening row and one flight
// entered, and the flight read back through the program's own store driver.
// Loaded by Qt as a generic plugin: skelvo -plugin skelvodriver:FOLDER,RESULT
// where FOLDER is the logbook folder to use and RESULT the file that gets
// "ok" or what went wrong.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGenericPlugin>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

constexpr int FolderStoreKind = 2;
const QString TableName = QStringLiteral("JA4321");

class Driver : public QObject
{
public:
    Driver(const QString& folder, const QString& result) : folder_(folder), result_(result)
    {
        QDir().mkpath(folder_);
        connect(&tick_, &QTimer::timeout, this, [this] { step(); });
        tick_.start(100);
        QTimer::singleShot(60000, this, [this] {
            const QWidget* shown = QApplication::activeModalWidget();
            finish(QStringLiteral("timed out at \"%1\" with %2 shown %3")
                       .arg(stage_,
                            shown ? QString::fromLatin1(shown->metaObject()->className()) + u' ' +
                                        shown->objectName()
                                  : QStringLiteral("no window"),
                            readBack_));
        });
    }

private:
    template <class T> T* child(QWidget* in, const char* name)
    {
        return in ? in->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    QWidget* modal(const char* name)
    {
        QWidget* window = QApplication::activeModalWidget();
        return window && window->objectName() == QLatin1String(name) ? window : nullptr;
    }
    static void later(const std::function<void()>& action) { QTimer::singleShot(0, action); }

    // Each step waits for what it needs, does it, and names the next.
    void step()
    {
        QWidget* main = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("SkelvoMainForm") && widget->isVisible())
                main = widget;
        if (stage_ == "start" && main) {
            main_ = main;
            stage_ = "settings";
            later([this] { child<QAction>(main_, "DatabaseSettingAction")->trigger(); });
        } else if (stage_ == "settings") {
            QWidget* form = modal("dBSettingForm");
            if (!form)
                return;
            // The folder first: a folder store without one asks for it.
            child<QLineEdit>(form, "LabeledEdit2")->setText(folder_);
            auto* kind = child<QComboBox>(form, "ComboBox1");
            kind->setCurrentIndex(FolderStoreKind);
            emit kind->activated(FolderStoreKind);
            child<QPushButton>(form, "Button1")->click();
            stage_ = "table name";
            later([form] { form->findChild<QPushButton*>(QStringLiteral("Button3"))->click(); });
        } else if (stage_ == "table name") {
            auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!ask)
                return;
            ask->setTextValue(TableName);
            ask->accept();
            stage_ = "table made";
        } else if (stage_ == "table made") {
            QWidget* form = modal("dBSettingForm");
            if (!form || !QFile::exists(QDir(folder_).filePath(TableName + ".DB")))
                return;
            child<QPushButton>(form, "Button4")->click();
            stage_ = "opening row";
            enterRow();
        } else if (stage_ == "opening row" || stage_ == "flight") {
            QWidget* entry = modal("InputForm");
            if (!entry)
                return;
            // Without a window manager nothing activates it, and the boxes'
            // leave rules follow the focus of the active window.
            QApplication::setActiveWindow(entry);
            if (stage_ == "flight") {
                type(child<QWidget>(entry, "DBEdit8"), QStringLiteral("1015"));
                type(child<QWidget>(entry, "DBEdit9"), QStringLiteral("1105"));
            }
            child<QPushButton>(entry, "Button1")->click();
            stage_ = stage_ == "flight" ? "saved" : "flight";
            if (stage_ == "flight")
                enterRow();
        } else if (stage_ == "saved" && !QApplication::activeModalWidget()) {
            // The recalculation after the save may still hold the table.
            readBack_ = readBack();
            if (readBack_ == QLatin1String("ok"))
                finish(readBack_);
        }
    }

    void enterRow()
    {
        later([this] {
            auto* grid = child<QAbstractItemView>(main_, "FixDBGrid1");
            grid->setFocus();
            QTest::keyClicks(grid, QStringLiteral("+")); // a new entry at the end
        });
    }

    static void type(QWidget* box, const QString& text)
    {
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, text);
    }

    // The flight as the store holds it, through the program's own driver.
    QString readBack() const
    {
        const QString name = QStringLiteral("check");
        QSqlDatabase db = QSqlDatabase::contains(name)
                              ? QSqlDatabase::database(name)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPARADOX"), name);
        db.setDatabaseName(folder_);
        if (!db.open())
            return QStringLiteral("the folder store does not open: ") + db.lastError().text();
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT flighttime FROM %1 ORDER BY ct, sb").arg(TableName)))
            return query.lastError().text();
        QStringList times;
        while (query.next())
            times.append(query.value(0).toString());
        return times == QStringList{QString(), QStringLiteral("00:50")}
                   ? QStringLiteral("ok")
                   : QStringLiteral("rows read back: ") + times.join(u'|');
    }

    void finish(const QString& outcome)
    {
        tick_.stop();
        QFile file(result_);
        if (file.open(QIODevice::WriteOnly))
            file.write(outcome.toUtf8() + '\n');
        QCoreApplication::exit(outcome == QLatin1String("ok") ? 0 : 1);
    }

    QString folder_;
    QString result_;
    QTimer tick_;
    QString stage_ = QStringLiteral("start");
    QString readBack_;
    QWidget* main_ = nullptr;
};

} // namespace

class SkelvoDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "skelvo_driver.json")

public:
    QObject* create(const QString&, const QString& arguments) override
    {
        const QStringList parts = arguments.split(u',');
        return new Driver(parts.value(0), parts.value(1));
    }
};

#include "skelvo_driver.moc"
