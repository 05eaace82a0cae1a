// Start-up: the start values and the List window, and one running instance
// per user — against a real second process, and after one that crashed.
#include "program.h"
#include "recordingservices.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

class StartupTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString lockPath() const { return m_dir->filePath(QStringLiteral("korvel.lock")); }

    std::unique_ptr<Program> program()
    {
        registerProgramWindows(*m_services, *m_state);
        return std::make_unique<Program>(*m_state, *m_services);
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<AppState>();
        m_services = std::make_unique<RecordingServices>();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QTRY_VERIFY(visibleTopLevelWindows().isEmpty());
        m_services.reset();
        m_state.reset();
        m_dir.reset();
    }

    void startsWithTheListWindowAndTheStartValues()
    {
        m_state->CurrentFile = QStringLiteral("left over");
        m_state->ObjectLimit = 5;
        m_state->ListLevel = 3;
        m_state->EditTarget = 7;
        auto korvel = program();
        QVERIFY(korvel->start(lockPath()));
        QCOMPARE(m_state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(m_state->ObjectLimit, 1000);
        QCOMPARE(m_state->ListLevel, -1);
        QCOMPARE(m_state->EditTarget, 0);
        QWidget *list = korvel->firstWindow();
        QVERIFY(list);
        QCOMPARE(list->windowHandle()->title(), QStringLiteral("File - Korvel （リスト）"));
        QVERIFY(m_services->messages.isEmpty());
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
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcess korvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        korvel.setProcessEnvironment(environment);
        korvel.setProgram(QStringLiteral(KORVEL_PROGRAM_FOLDER "/korvel"));
        korvel.start();
        QVERIFY(korvel.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockPath()), 20000);

        auto second = program();
        QVERIFY(!second->start(lockPath()));
        QCOMPARE(m_services->texts(), QStringList{QStringLiteral("Korvelは既に起動されています。")});
        QCOMPARE(m_services->lastMessage().icon, MessageIcon::Information);
        QCOMPARE(m_services->lastMessage().caption, QStringLiteral("Korvel"));
        QVERIFY(!second->firstWindow());
        QVERIFY(visibleTopLevelWindows().isEmpty());

        // Killed, it leaves its lock behind; the next start takes it over.
        korvel.kill();
        QVERIFY(korvel.waitForFinished());
        QVERIFY(QFile::exists(lockPath()));
        m_services->messages.clear();
        auto third = std::make_unique<Program>(*m_state, *m_services);
        QVERIFY(third->start(lockPath()));
        QVERIFY(m_services->messages.isEmpty());
        QVERIFY(third->firstWindow());
    }

    void aLockThatCannotBeMadeDoesNotKeepTheProgramFromStarting()
    {
        auto korvel = program();
        QVERIFY(korvel->start(m_dir->filePath(QStringLiteral("missing/folder/korvel.lock"))));
        QVERIFY(korvel->firstWindow());
        QVERIFY(m_services->messages.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
