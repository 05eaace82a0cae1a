// The undo history of the design: one QUndoStack for both main windows.
//
// Every change to the design (an object added, changed or deleted, the Tree
// window's 設定 and 追加, the module information) is one step. A step keeps
// the tables and the module information as they were before and after it,
// so undoing it gives back exactly the design that was there: the design
// file written after an undo is byte for byte the one written before the
// change. The tables' QStrings share their data, so a picture costs little.
//
// The stack is clean at the design last opened or saved; the windows show
// the change mark and ask before throwing unsaved changes away from
// isModified().
#pragma once

#include "appstate.h"

#include <QObject>
#include <QUndoStack>

#include <memory>
#include <optional>

namespace korvel {

// What one step of the history gives back: the design as the file keeps it.
struct DesignPicture {
    DefinitionTables tables;
    std::optional<ModuleInfo> moduleInfo;

    bool operator==(const DesignPicture &) const = default;
};

DesignPicture takePicture(const AppState &state);

class DesignHistory : public QObject
{
    Q_OBJECT

public:
    explicit DesignHistory(AppState &state);

    QUndoStack &stack() { return m_stack; }

    // Records the change from `before` to the design now as one step;
    // nothing when the design is unchanged. True when a step was recorded.
    bool record(const DesignPicture &before);

    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

    // A new history, after a design was opened (`saved`: it is the file's)
    // or read in from a MIB module (a design no file holds yet).
    void startOver(bool saved);
    // The design now is the one in its file.
    void markSaved() { m_stack.setClean(); }
    bool isModified() const { return !m_stack.isClean(); }

signals:
    // An undo or redo has put another design into the tables.
    void restored();

private:
    friend class DesignStep;
    using Picture = std::shared_ptr<const DesignPicture>;
    void restore(const DesignPicture &picture);

    AppState &m_state;
    QUndoStack m_stack;
    // The design after the step recorded last.
    Picture m_lastPicture;
};

// The history of `state`, made at the first call.
DesignHistory &designHistory(AppState &state);

// Records what a command changes in the design while it lives as one step,
// also when the command ends with a failure half way.
class RecordedChange
{
public:
    explicit RecordedChange(AppState &state);
    ~RecordedChange();
    RecordedChange(const RecordedChange &) = delete;
    RecordedChange &operator=(const RecordedChange &) = delete;

private:
    DesignHistory &m_history;
    const DesignPicture m_before;
};

} // namespace korvel
