// The enumeration item list of the object editor and of the Tree window's
// panel, without the combo box that shows it.
#pragma once

#include "appstate.h"
#include "editorinput.h"
#include "messages.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace korvel {

// The item names in list order, always followed by exactly one empty entry,
// with the items' values kept parallel in AppState::EnumValues: the item at
// position i has the value EnumValues[i]. The window mirrors entries() into
// its combo box after every call that returns true.
//
// Names are kept without leading and trailing blanks, as they will be stored.
class EnumItemList
{
public:
    using Values = std::array<int16_t, SlotCount>;

    // `values` is AppState::EnumValues; it is not cleared here.
    explicit EnumItemList(Values &values);

    // The names followed by the one empty entry.
    const QStringList &entries() const { return m_entries; }
    // Number of items, the empty entry not counted.
    int itemCount() const { return static_cast<int>(m_entries.size()) - 1; }
    // The items with their values, for EditorInput::Items.
    QList<EnumItem> items() const;

    // Back to the single empty entry; the values are left as they are.
    void reset();

    // Loads the items of object `owner`: every value set to 0, then each
    // in-use MibList record of `owner` in slot order appended. A stored value
    // outside the 16-bit range is held at the nearest 16-bit value. A record
    // without a name cannot be told apart from the empty entry and is left
    // out, so the next commit drops it.
    void load(const AppState &state, int owner);

    // "ﾘｽﾄへ追加" with the item list's text and the value box's text. Checks
    // in order (empty name, empty value, not all digits, then each item for
    // a clashing name or value), reporting the first failure. On true the
    // item took the empty entry and a new empty entry follows it: the window
    // selects that last entry and empties the value box.
    bool addListItem(const QString &nameText, const QString &valueText, MessageSink &sink);

    // "ﾘｽﾄから削除": removes the first item with this name and value. On true
    // the window empties the value box.
    bool removeListItem(const QString &nameText, const QString &valueText, MessageSink &sink);

    // How the value box follows the item list.
    enum class ItemEvent {
        // An entry was chosen.
        Chosen,
        // The list's text was edited.
        Edited,
    };
    // The text the value box shows for the item list's text `nameText`.
    QString showItemValue(const QString &nameText, ItemEvent event) const;

    // Appends one item without the checks of addListItem, for a panel with
    // checks of its own. False, with nothing changed, when the value does not
    // fit 16 bits or the values have no room left.
    bool appendItem(const QString &name, qint64 value);

private:
    int findName(const QString &name) const;

    Values &m_values;
    QStringList m_entries;
};

} // namespace korvel
