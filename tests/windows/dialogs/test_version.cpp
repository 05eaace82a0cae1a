// The about box: its contents, the registry lookup off Windows, and the
// system information button with and without a program on PATH.
#include "recordingservices.h"
#include "version.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;
using namespace korvel::testing;

class VersionTest : public QObject
{
    Q_OBJECT

private:
    QByteArray m_path;

private Q_SLOTS:
    void init() { m_path = qgetenv("PATH"); }

    void cleanup()
    {
        qputenv("PATH", m_path);
        QVERIFY(visibleTopLevelWindows().isEmpty());
    }

    void showsNameVersionAndContacts()
    {
        RecordingServices services;
        Version box(services);
        box.show();
        QCOMPARE(box.windowTitle(), QStringLiteral("Korvel （ﾊﾞｰｼﾞｮﾝ）"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Korvel　V1.0.2"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("問い合わせ"));
        QVERIFY(!box.findChild<QLabel *>(QStringLiteral("Picture1"))->pixmap().isNull());
        QCOMPARE(box.findChildren<QFrame *>(QStringLiteral("Line1")).size(), 2);
        for (const char *name : {"Text1", "Text2"}) {
            auto *text = box.findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY(text->isReadOnly());
            QVERIFY(!text->text().isEmpty());
        }
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        auto *ok = box.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        ok->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void theRegistryHasNothingOffWindows()
    {
#ifdef Q_OS_WIN
        QSKIP("The real registry answers on Windows");
#endif
        const Version::KeyValue value = Version::GetKeyValue(
            Version::RootKey::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
            QStringLiteral("PATH"));
        QVERIFY(!value.found);
        QCOMPARE(value.text, QString());
    }

    void registryValuesReadAsText_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("string") << 1u << QByteArray("C:\\tools\0junk", 13) << QStringLiteral("C:\\tools");
        QTest::newRow("string without zero") << 1u << QByteArray("abc") << QStringLiteral("abc");
        QTest::newRow("number") << 4u << QByteArray("\x78\x56\x34\x12", 4) << QStringLiteral("&h12345678");
        QTest::newRow("small number") << 4u << QByteArray("\x01\x00\x00\x00", 4) << QStringLiteral("&h0001");
    }

    void registryValuesReadAsText()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QCOMPARE(Version::registryValueText(type, data), text);
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
        RecordingServices services;
        Version box(services);
        box.show();
        auto *button = box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
        button->click();
        QCOMPARE(services.texts(), QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
        QCOMPARE(services.lastMessage().kind, MessageKind::Notice);
        QCOMPARE(services.lastMessage().icon, MessageIcon::None);

        const QString marker = tools.filePath(QStringLiteral("started"));
        QFile script(tools.filePath(Version::systemInformationPrograms().constLast()));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        button->click();
        QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(services.messages.size(), 1);
        QVERIFY(box.isVisible());
        box.close();
    }
};

QTEST_MAIN(VersionTest)
#include "test_version.moc"
