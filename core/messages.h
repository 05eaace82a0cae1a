// What a message to the user is, independent of how it is shown. The rules
// report through a MessageSink; the windows show messages through the
// user-interface services, which implement the sink for the program and for
// tests.
#pragma once

#include <QString>

namespace korvel {

// A refused input or rule: exclamation icon, OK, caption "注意メッセージ".
// An unexpected failure of a command: critical icon, OK, caption "警告メッセージ".
// A success notice: no icon, OK. A question: Yes and No.
enum class MessageKind {
    Warning,
    Error,
    Notice,
    Question,
};

enum class MessageButton {
    Ok,
    Yes,
    No,
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void report(const QString &text, MessageKind kind) = 0;
};

} // namespace korvel
