// The module information dialog: what the design's SMIv2 module says about
// itself (module name, MODULE-IDENTITY and its place, LAST-UPDATED, revisions,
// ORGANIZATION, CONTACT-INFO, DESCRIPTION). It opens on the design's current
// module information; OK checks the values and stores them in AppState, so
// the next save writes them to the side file. Cancel changes nothing.
#pragma once

#include "appstate.h"
#include "services.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace korvel {

class ModuleInfoDialog : public QDialog
{
    Q_OBJECT

public:
    ModuleInfoDialog(AppState &state, Services &services, QWidget *parent = nullptr);

    // The form of dates in the boxes, always UTC: "2026-12-07 09:30".
    static QString dateText(const QDateTime &date);
    // A date in that form, or a bare day; invalid for anything else.
    static QDateTime parseDate(const QString &text);

private:
    void fill(const ModuleInfo &info);
    // The values in the boxes, or nothing after telling the user what is wrong.
    std::optional<ModuleInfo> checkedValues();
    void addRevision();
    void removeRevision();
    void appendRevisionRow(const ModuleRevision &revision);
    void accept() override;

    AppState &m_state;
    Services &m_services;
    QLineEdit *m_moduleName;
    QLineEdit *m_identity;
    QComboBox *m_parent;
    QLineEdit *m_subId;
    QLineEdit *m_lastUpdated;
    QLineEdit *m_organization;
    QPlainTextEdit *m_contact;
    QPlainTextEdit *m_description;
    QTableWidget *m_revisions;
    QLineEdit *m_revisionDate;
    QLineEdit *m_revisionDescription;
    QPushButton *m_addRevision;
    QPushButton *m_removeRevision;
};

} // namespace korvel
