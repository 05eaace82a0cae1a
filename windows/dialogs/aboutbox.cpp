#include "aboutbox.h"
#include "messagetexts.h"

#include "korvel_version.h"
#include "programicon.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace korvel {

namespace {

constexpr quint32 NumberValue = 4;
constexpr int ValueBufferSize = 1024;

QFrame *line(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("Line1"));
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLineEdit *address(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    return box;
}

} // namespace

AboutBox::AboutBox(Services &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("Version"));
    setWindowTitle(QStringLiteral("Korvel （ﾊﾞｰｼﾞｮﾝ）"));

    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(programIcon().pixmap(32, 32));
    auto *label1 = new QLabel(QStringLiteral("Korvel　V" KORVEL_VERSION), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = new QLabel(QStringLiteral("問い合わせ"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *text1 = address(this, "Text1", QStringLiteral("https://korvel.example.org/"));
    auto *text2 = address(this, "Text2", QStringLiteral("support@korvel.example.org"));
    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picture1, 0, 0, Qt::AlignTop);
    layout->addWidget(label1, 0, 1, 1, 2);
    layout->addWidget(line(this), 1, 0, 1, 3);
    layout->addWidget(label2, 2, 0, 1, 3);
    layout->addWidget(text1, 3, 1, 1, 2);
    layout->addWidget(text2, 4, 1, 1, 2);
    layout->addWidget(line(this), 5, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    layout->addLayout(buttons, 6, 0, 1, 3);
    layout->setColumnMinimumWidth(2, 260);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::startSystemInformation);
}

QString AboutBox::registryValueText(quint32 type, const QByteArray &data)
{
    if (type == NumberValue) {
        QString text = QStringLiteral("&h");
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            text += QString::number(static_cast<uchar>(data.at(i)), 16).toUpper();
        return text;
    }
    const qsizetype zero = data.indexOf('\0');
    return QString::fromLocal8Bit(zero < 0 ? data : data.left(zero));
}

AboutBox::KeyValue AboutBox::keyValue(RootKey root, const QString &keyName, const QString &valueName)
{
    KeyValue result;
#ifdef Q_OS_WIN
    HKEY opened = nullptr;
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<quint32>(root)));
    if (RegOpenKeyExA(rootKey, keyName.toLocal8Bit().constData(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return result;
    QByteArray buffer(ValueBufferSize, '\0');
    DWORD type = 0;
    DWORD size = ValueBufferSize;
    const LONG read = RegQueryValueExA(opened, valueName.toLocal8Bit().constData(), nullptr, &type,
                                       reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(opened);
    if (read != ERROR_SUCCESS)
        return result;
    buffer.truncate(qMin<qsizetype>(size, ValueBufferSize));
    result.found = true;
    result.text = registryValueText(type, buffer);
#else
    Q_UNUSED(root);
    Q_UNUSED(keyName);
    Q_UNUSED(valueName);
#endif
    return result;
}

QStringList AboutBox::systemInformationPrograms()
{
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("gnome-system-monitor")};
}

QString AboutBox::systemInformationTool() const
{
    const KeyValue path = keyValue(RootKey::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                      QStringLiteral("PATH"));
    if (path.found)
        return path.text;
    const KeyValue folder = keyValue(RootKey::LocalMachine,
                                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                                        QStringLiteral("MSINFO"));
    if (folder.found) {
        const QString tool = folder.text + QStringLiteral("\\MSINFO32.EXE");
        return QFileInfo::exists(tool) ? tool : QString();
    }
#ifndef Q_OS_WIN
    for (const QString &program : systemInformationPrograms()) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            return found;
    }
#endif
    return QString();
}

void AboutBox::startSystemInformation()
{
    const QString tool = systemInformationTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
        m_services.show(texts::systemInformationUnavailable(), MessageKind::Notice);
}

} // namespace korvel
