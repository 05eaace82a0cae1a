// The about box: its contents, registry values as text, and the system
// information button with and without a program on PATH.
#include "aboutbox.h"
#include "guidriver.h"

#include <QFile>
#include <QLabel>

using namespace korvel;
using namespace korvel::testing;

class AboutBoxTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;
    QByteArray m_path;

private Q_SLOTS:
    void init()
    {
        m_path = qgetenv("PATH");
        f.setUp();
    }

    void cleanup()
    {
        qputenv("PATH", m_path);
        f.tearDown();
    }

    // Captions as tests/data/dialogs/aboutbox.txt has them; the contacts
    // read-only; OK closes the box.
    void showsNameVersionAndContacts()
    {
        QVERIFY(f.show(new AboutBox(*f.services)));
        f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/dialogs/aboutbox.txt"));
        QVERIFY(!f.get<QLabel>("Picture1")->pixmap().isNull());
        for (const char *name : {"Text1", "Text2"})
            QVERIFY(f.get<QLineEdit>(name)->isReadOnly() && !f.text(name).isEmpty());
        f.click("cmdOK");
        QTRY_VERIFY(!f.window);
    }

    void registryValuesReadAsText()
    {
        QCOMPARE(AboutBox::registryValueText(1, QByteArray("C:\\tools\0junk", 13)), QStringLiteral("C:\\tools"));
        QCOMPARE(AboutBox::registryValueText(4, QByteArray("\x01\x00\x00\x00", 4)), QStringLiteral("&h0001"));
    }

    // Without a system information program on PATH the user is told; with
    // one, it is started and the box stays open either way.
    void theSystemInformationButton()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows starts its own tool");
#endif
        QTemporaryDir tools;
        qputenv("PATH", QFile::encodeName(tools.path()));
        QVERIFY(f.show(new AboutBox(*f.services)));
        f.click("cmdSysInfo");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);

        const QString marker = tools.filePath(QStringLiteral("started"));
        QFile script(tools.filePath(AboutBox::systemInformationPrograms().constLast()));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        f.click("cmdSysInfo");
        QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(f.services->messages.size(), 1);
        QVERIFY(f.window->isVisible());
    }
};

QTEST_MAIN(AboutBoxTest)
#include "test_aboutbox.moc"
