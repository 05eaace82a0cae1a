#include "services.h"

#include "messagetexts.h"
#include "miblibrary.h"

namespace korvel {

Message makeMessage(const QString &text, MessageKind kind, const QString &caption)
{
    Message message;
    message.text = text;
    message.kind = kind;
    switch (kind) {
    case MessageKind::Warning:
        message.caption = texts::cautionCaption();
        message.icon = MessageIcon::Exclamation;
        break;
    case MessageKind::Error:
        message.caption = texts::warningCaption();
        message.icon = MessageIcon::Critical;
        break;
    case MessageKind::Notice:
    case MessageKind::Question:
    case MessageKind::QuestionWithCancel:
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

MibLibrary &Services::mibLibrary()
{
    if (m_library == nullptr) {
        m_ownLibrary = std::make_shared<SharedMibLibrary>();
        m_library = m_ownLibrary.get();
    }
    return *m_library;
}

void Services::useMibLibrary(MibLibrary &library)
{
    m_library = &library;
    m_ownLibrary.reset();
}

} // namespace korvel
