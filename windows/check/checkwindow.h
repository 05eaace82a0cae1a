// The design check's window (Check): every finding of checkDesign for the
// current design and its module information, one row each with the object,
// the severity and the message. It is not modal and stays open beside
// whichever main window is showing; while open it checks again each time
// the design changes (Services::designChanges). Double-clicking a finding
// that names an object selects that object in the Tree window, switching to
// the Tree window when the List window is showing.
#pragma once

#include "appstate.h"
#include "services.h"

#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvel {

class CheckWindow : public QWidget
{
    Q_OBJECT

public:
    CheckWindow(AppState &state, Services &services, QWidget *parent = nullptr);

    // Checks the design again and lists what it finds.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void findingDoubleClicked(QTreeWidgetItem *item); // CheckList

    AppState &m_state;
    Services &m_services;
    QTreeWidget *m_list = nullptr;
    QLabel *m_count = nullptr;
};

} // namespace korvel
