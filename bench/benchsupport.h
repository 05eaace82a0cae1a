// Pieces the window benchmarks share: services that show nothing, a way to
// put objects straight into the tables, and waiting for a window on screen.
#pragma once

#include "tableops.h"
#include "uiservices.h"

#include <QCoreApplication>
#include <QDialog>
#include <QWidget>
#include <QWindow>

namespace korvel::bench {

// The benchmarks open no message or dialog.
class SilentServices : public UiServices
{
public:
    void showHelp() override {}
    QString programFolder() const override { return QCoreApplication::applicationDirPath() + QStringLiteral("/.."); }

protected:
    MessageButton present(const Message &) override { return MessageButton::No; }
    DialogOutcome runDialog(ModalDialog, QDialog &) override { return DialogOutcome::Rejected; }
};

inline void addRecord(AppState &state, int slot, const QString &name, int objectId, int parent,
                      int kind = ObjectKind::Node)
{
    MibTree &record = state.tables.tree[slot];
    storeText(record.Name, name, NameWidth);
    record.NameLength = static_cast<int32_t>(name.size());
    record.ObjectId = objectId;
    record.Parent = parent;
    record.Kind = kind;
    record.InUse = 1;
    ++state.tables.MibTreeCount;
}

inline void waitUntilExposed(QWidget *window)
{
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
}

} // namespace korvel::bench
