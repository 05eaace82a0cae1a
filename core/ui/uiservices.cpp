#include "uiservices.h"

#include <QDialog>
#include <QWidget>

namespace korvel {

UiServices::UiServices() = default;
UiServices::~UiServices() = default;

void UiServices::setDialog(ModalDialog dialog, DialogFactory factory)
{
    m_dialogs[dialog] = std::move(factory);
}

void UiServices::setWindow(MainWindow window, WindowFactory factory)
{
    m_windows[window] = std::move(factory);
}

DialogOutcome UiServices::openDialog(ModalDialog dialog, QObject *owner)
{
    const auto factory = m_dialogs.find(dialog);
    if (factory == m_dialogs.end() || !factory->second)
        return DialogOutcome::Missing;
    QWidget *ownerWidget = qobject_cast<QWidget *>(owner);
    std::unique_ptr<QDialog> built = factory->second(ownerWidget ? ownerWidget->window() : nullptr);
    if (!built)
        return DialogOutcome::Refused;
    return runDialog(dialog, *built);
}

bool UiServices::hasDialog(ModalDialog dialog) const
{
    const auto factory = m_dialogs.find(dialog);
    return factory != m_dialogs.end() && factory->second;
}

QWidget *UiServices::openWindow(MainWindow target)
{
    const auto factory = m_windows.find(target);
    if (factory == m_windows.end() || !factory->second)
        return nullptr;
    QWidget *window = factory->second();
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

bool UiServices::switchWindow(MainWindow target, QObject *current)
{
    // The new window is shown before the old one closes: closing the last
    // visible window would end the program.
    if (!openWindow(target))
        return false;
    if (auto *widget = qobject_cast<QWidget *>(current))
        widget->window()->close();
    return true;
}

bool UiServices::hasWindow(MainWindow target) const
{
    const auto factory = m_windows.find(target);
    return factory != m_windows.end() && factory->second;
}

} // namespace korvel
