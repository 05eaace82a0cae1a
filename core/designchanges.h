// The one word that the design changed: sent after every edit of either main
// window, after a design file is opened, a MIB file loaded or a module
// imported, and after the module information is changed. Views that show
// something derived from the whole design (the design check) listen to it.
#pragma once

#include <QObject>

namespace korvel {

class DesignChanges : public QObject
{
    Q_OBJECT

public:
    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace korvel
