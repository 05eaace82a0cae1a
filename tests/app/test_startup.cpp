// Start-up: the start values and the List window, and one running instance
// per user — against a real second process, and after one that crashed.
#include "program.h"
#include "guidriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

class StartupTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;
    QTemporaryDir m_settings;

    QString lockPath() const { return f.path(QStringLiteral("korvel.lock")); }

    std::unique_ptr<Program> program()
    {
        registerProgramWindows(*f.services, *f.state);
        return std::make_unique<Program>(*f.state, *f.services);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // No language chosen: this test's own settings folder is empty.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void startsWithTheListWindowAndTheStartValues()
    {
        f.state->CurrentFile = QStringLiteral("left over");
        f.state->ObjectLimit = 5;
        f.state->ListLevel = 3;
        f.state->EditTarget = 7;
        auto korvel = program();
        QVERIFY(korvel->start(lockPath()));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(f.state->ObjectLimit, 1000);
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.state->EditTarget, 0);
        QWidget *list = korvel->firstWindow();
        QVERIFY(list);
        QCOMPARE(list->windowHandle()->title(), QStringLiteral("File - Korvel （リスト）"));
        QVERIFY(f.services->messages.isEmpty());
        QVERIFY(QFile::exists(lockPath()));
        // Qt's own buttons read in Japanese.
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text() + box.button(QMessageBox::No)->text(),
                 QStringLiteral("はい(&Y)いいえ(&N)"));
        list->close();
        QTRY_VERIFY(!korvel->firstWindow());
    }

    void aRunningProgramKeepsOthersOutAndACrashedOneDoesNot()
    {
        // The real program, with its runtime folder in this test's folder.
        QVERIFY(QFile::setPermissions(f.folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcess korvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), f.folder->path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        korvel.setProcessEnvironment(environment);
        korvel.setProgram(QStringLiteral(KORVEL_PROGRAM_FOLDER "/korvel"));
        korvel.start();
        QVERIFY(korvel.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockPath()), 20000);

        auto second = program();
        QVERIFY(!second->start(lockPath()));
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("Korvelは既に起動されています。")});
        QCOMPARE(f.services->lastMessage().icon, MessageIcon::Information);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("Korvel"));
        QVERIFY(!second->firstWindow());
        QVERIFY(visibleTopLevelWindows().isEmpty());

        // Killed, it leaves its lock behind; the next start takes it over.
        korvel.kill();
        QVERIFY(korvel.waitForFinished());
        QVERIFY(QFile::exists(lockPath()));
        f.services->messages.clear();
        auto third = program();
        QVERIFY(third->start(lockPath()));
        QVERIFY(f.services->messages.isEmpty());
        QVERIFY(third->firstWindow());
    }

    void aLockThatCannotBeMadeDoesNotKeepTheProgramFromStarting()
    {
        auto korvel = program();
        QVERIFY(korvel->start(f.path(QStringLiteral("missing/folder/korvel.lock"))));
        QVERIFY(korvel->firstWindow());
        QVERIFY(f.services->messages.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
