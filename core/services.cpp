#include "services.h"

namespace korvel {

Message makeMessage(const QString &text, MessageKind kind, const QString &caption)
{
    Message message;
    message.text = text;
    message.kind = kind;
    switch (kind) {
    case MessageKind::Warning:
        message.caption = QStringLiteral("注意メッセージ");
        message.icon = MessageIcon::Exclamation;
        break;
    case MessageKind::Error:
        message.caption = QStringLiteral("警告メッセージ");
        message.icon = MessageIcon::Critical;
        break;
    case MessageKind::Notice:
    case MessageKind::Question:
        message.caption = QString::fromLatin1(ApplicationTitle);
        message.icon = MessageIcon::None;
        break;
    }
    if (!caption.isEmpty())
        message.caption = caption;
    return message;
}

MessageButton Services::show(const QString &text, MessageKind kind, const QString &caption)
{
    return present(makeMessage(text, kind, caption));
}

void Services::showInformation(const QString &text, const QString &caption)
{
    Message message = makeMessage(text, MessageKind::Notice, caption);
    message.icon = MessageIcon::Information;
    present(message);
}

bool Services::ask(const QString &text, const QString &caption)
{
    return show(text, MessageKind::Question, caption) == MessageButton::Yes;
}

void Services::report(const QString &text, MessageKind kind)
{
    show(text, kind);
}

} // namespace korvel
