// The about box: the program's name and version, where to reach its makers,
// and a button that starts the platform's system information tool.
#pragma once

#include "services.h"

#include <QByteArray>
#include <QDialog>
#include <QStringList>

namespace korvel {

class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(Services &services, QWidget *parent = nullptr);

    // Registry roots keyValue can open.
    enum class RootKey : quint32 {
        LocalMachine = 0x80000002,
    };

    struct KeyValue {
        bool found = false;
        QString text;
    };

    // Reads a registry value. Off Windows there is no registry: nothing is
    // ever found.
    static KeyValue keyValue(RootKey root, const QString &keyName, const QString &valueName);

    // A registry value's text: a string is cut at its first zero, a 32-bit
    // number is "&h" followed by the hexadecimal digits of its bytes from the
    // last to the first. Other types give their bytes up to the first zero.
    static QString registryValueText(quint32 type, const QByteArray &data);

    // Starts the system information tool in a window of its own and returns
    // at once; tells the user when there is none.
    void startSystemInformation();

    // The programs tried off Windows, in order, on PATH.
    static QStringList systemInformationPrograms();

private:
    QString systemInformationTool() const;

    Services &m_services;
};

} // namespace korvel
