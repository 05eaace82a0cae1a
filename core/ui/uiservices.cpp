#include "uiservices.h"

#include <QDialog>
#include <QWidget>

namespace korvel {

UiServices::UiServices() = default;
UiServices::~UiServices()
{
    // Tool windows have no parent to take them along.
    for (auto &[which, window] : m_toolWindows)
        delete window.data();
}

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

void UiServices::setToolWindow(ToolWindow window, WindowFactory factory)
{
    m_toolFactories[window] = std::move(factory);
}

bool UiServices::showToolWindow(ToolWindow which)
{
    QPointer<QWidget> &window = m_toolWindows[which];
    if (!window) {
        const auto factory = m_toolFactories.find(which);
        if (factory == m_toolFactories.end() || !factory->second)
            return false;
        window = factory->second();
        if (!window)
            return false;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

bool UiServices::hasWindow(MainWindow target) const
{
    const auto factory = m_windows.find(target);
    return factory != m_windows.end() && factory->second;
}

} // namespace korvel
