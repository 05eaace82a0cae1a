// What a message to the user is, independent of how it is shown. The rules
// report through a MessageSink; the windows show messages through the
// user-interface services, which implement the sink for the program and for
// tests.
#pragma once

#include <QString>

namespace korvel {

// A refused input or rule: exclamation icon, OK, caption "注意メッセージ".
// An unexpected failure of a command: critical icon, OK, caption "警告メッセージ".
// A success notice: no icon, OK. A question: Yes and No; a question that
// can also be called off: Yes, No and Cancel.
enum class MessageKind {
    Warning,
    Error,
    Notice,
    Question,
    QuestionWithCancel,
};

enum class MessageButton {
    Ok,
    Yes,
    No,
    Cancel,
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void report(const QString &text, MessageKind kind) = 0;
};

} // namespace korvel
