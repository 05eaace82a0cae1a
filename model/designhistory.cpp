#include "designhistory.h"

#include <QUndoCommand>

#include <exception>

namespace korvel {

namespace {

// A long session keeps this many steps; the oldest go first. A picture of
// the full tables takes some 200 kB.
constexpr int StepLimit = 100;

} // namespace

// One change: the design before and after it.
class DesignStep : public QUndoCommand
{
public:
    using Picture = DesignHistory::Picture;

    DesignStep(DesignHistory &history, Picture before, Picture after)
        : m_history(history)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }

    void undo() override { m_history.restore(*m_before); }

    void redo() override
    {
        // The first redo comes with the push: the change is already made.
        if (m_done)
            m_history.restore(*m_after);
        m_done = true;
    }

private:
    DesignHistory &m_history;
    Picture m_before;
    Picture m_after;
    bool m_done = false;
};

DesignPicture takePicture(const AppState &state)
{
    return DesignPicture{state.tables, state.ModuleInformation};
}

DesignHistory::DesignHistory(AppState &state)
    : m_state(state)
{
    m_stack.setUndoLimit(StepLimit);
}

bool DesignHistory::record(const DesignPicture &before)
{
    auto after = std::make_shared<const DesignPicture>(takePicture(m_state));
    if (*after == before)
        return false;
    // Steps in a row share the picture between them.
    Picture first = m_lastPicture && *m_lastPicture == before ? m_lastPicture
                                                               : std::make_shared<const DesignPicture>(before);
    m_lastPicture = after;
    m_stack.push(new DesignStep(*this, std::move(first), std::move(after)));
    return true;
}

void DesignHistory::startOver(bool saved)
{
    m_stack.clear();
    m_lastPicture.reset();
    if (!saved)
        m_stack.resetClean();
}

void DesignHistory::restore(const DesignPicture &picture)
{
    m_state.tables = picture.tables;
    m_state.ModuleInformation = picture.moduleInfo;
    emit restored();
}

RecordedChange::RecordedChange(AppState &state)
    : m_history(designHistory(state))
    , m_before(takePicture(state))
{
}

RecordedChange::~RecordedChange()
{
    try {
        m_history.record(m_before);
    } catch (const std::exception &) {
        // Out of memory: the step is lost, the design stays as it is.
    }
}

DesignHistory &designHistory(AppState &state)
{
    std::shared_ptr<DesignHistory> &history = state.History.history;
    if (!history)
        history = std::make_shared<DesignHistory>(state);
    return *history;
}

} // namespace korvel
