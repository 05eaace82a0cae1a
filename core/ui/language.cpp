#include "language.h"

#include "translated.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTableWidget>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>
#include <functional>
#include <optional>

namespace korvel {

namespace {

const QString SwitchName = QStringLiteral("KorvelLanguage");

std::optional<Language> languageNamed(const QString &code)
{
    if (code == QLatin1String("ja"))
        return Language::Japanese;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

// Where the choice is remembered (on Linux ~/.config/Korvel/korvel.conf).
const QString Organization = QStringLiteral("Korvel");
const QString Application = QStringLiteral("korvel");
const QString LanguageKey = QStringLiteral("language");

// The translations in use and the filter that translates every window as it
// is shown or when the language changes. One per application, its child.
class LanguageSwitch : public QObject
{
    Q_OBJECT

public:
    explicit LanguageSwitch(QCoreApplication *application)
        : QObject(application)
    {
        setObjectName(SwitchName);
        application->installEventFilter(this);
    }

    ~LanguageSwitch() override
    {
        // Gone with the application, the translators need no removing.
        if (QCoreApplication::instance())
            unload();
    }

    void use(Language chosen)
    {
        unload();
        language = chosen;
        setEnglishShown(chosen == Language::English);
        // In English Qt's own texts stay its built-in English ones.
        if (chosen == Language::English)
            m_programLoaded = m_program.load(QStringLiteral(":/i18n/korvel_en.qm"))
                              && QCoreApplication::installTranslator(&m_program);
        else
            m_qtLoaded = m_qt.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                         && QCoreApplication::installTranslator(&m_qt);
    }

    Language language = Language::Japanese;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
        case QEvent::LanguageChange:
        // A title set while the window is open, such as one naming the file.
        case QEvent::WindowTitleChange:
            if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
                translateWindow(static_cast<QWidget *>(watched));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void unload()
    {
        if (m_programLoaded)
            QCoreApplication::removeTranslator(&m_program);
        if (m_qtLoaded)
            QCoreApplication::removeTranslator(&m_qt);
        m_programLoaded = m_qtLoaded = false;
    }

    QTranslator m_program;
    QTranslator m_qt;
    bool m_programLoaded = false;
    bool m_qtLoaded = false;
};

LanguageSwitch &languageSwitch()
{
    QCoreApplication *application = QCoreApplication::instance();
    auto *found = application->findChild<LanguageSwitch *>(SwitchName, Qt::FindDirectChildrenOnly);
    return found ? *found : *new LanguageSwitch(application);
}

// One fixed text of a control. The control keeps the text it was built
// with (its source) and the text shown for it, so that a text is translated
// from its source in every language, and one the program has set since is
// taken as a new source.
void retranslate(QObject *holder, const QByteArray &which, const QString &current,
                 const std::function<void(const QString &)> &set,
                 const std::function<QString(const QString &)> &translate = [](const QString &s) { return translated(s); })
{
    const QByteArray sourceKey = "korvelSource." + which;
    const QByteArray shownKey = "korvelShown." + which;
    const QVariant shown = holder->property(shownKey.constData());
    const QString source = shown.isValid() && shown.toString() == current
                               ? holder->property(sourceKey.constData()).toString()
                               : current;
    if (source.isEmpty())
        return;
    const QString text = translate(source);
    holder->setProperty(sourceKey.constData(), source);
    holder->setProperty(shownKey.constData(), text);
    if (text != current)
        set(text);
}

// A window's title, whole or as "file - title".
QString translatedTitle(const QString &source)
{
    const QString whole = translated(source);
    const qsizetype dash = source.lastIndexOf(QLatin1String(" - "));
    if (whole != source || dash < 0)
        return whole;
    return source.left(dash) + translated(source.mid(dash));
}

void translateControl(QWidget *control)
{
    if (!control->toolTip().isEmpty())
        retranslate(control, "toolTip", control->toolTip(), [control](const QString &t) { control->setToolTip(t); });
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        retranslate(button, "text", button->text(), [button](const QString &t) { button->setText(t); });
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        retranslate(label, "text", label->text(), [label](const QString &t) { label->setText(t); });
    } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        retranslate(frame, "title", frame->title(), [frame](const QString &t) { frame->setTitle(t); });
    } else if (auto *box = qobject_cast<QLineEdit *>(control)) {
        retranslate(box, "hint", box->placeholderText(), [box](const QString &t) { box->setPlaceholderText(t); });
    } else if (auto *grid = qobject_cast<QTableWidget *>(control)) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            if (QTableWidgetItem *header = grid->horizontalHeaderItem(column))
                retranslate(grid, "header" + QByteArray::number(column), header->text(),
                            [header](const QString &t) { header->setText(t); });
        }
    } else if (auto *tree = qobject_cast<QTreeWidget *>(control)) {
        QTreeWidgetItem *header = tree->headerItem();
        for (int column = 0; header && column < header->columnCount(); ++column)
            retranslate(tree, "header" + QByteArray::number(column), header->text(column),
                        [header, column](const QString &t) { header->setText(column, t); });
    }
}

} // namespace

Language startLanguage(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString code;
        if (arguments.at(i) == QLatin1String("--lang"))
            code = i + 1 < arguments.size() ? arguments.at(++i) : QString();
        else if (arguments.at(i).startsWith(QLatin1String("--lang=")))
            code = arguments.at(i).mid(7);
        else
            continue;
        if (const std::optional<Language> language = languageNamed(code))
            return *language;
        std::fprintf(stderr, "korvel: --lang takes ja or en; \"%s\" is left out\n", qPrintable(code));
    }
    const QSettings settings(Organization, Application);
    return languageNamed(settings.value(LanguageKey).toString()).value_or(Language::Japanese);
}

void useLanguage(Language language)
{
    languageSwitch().use(language);
}

void chooseLanguage(Language language)
{
    useLanguage(language);
    QSettings settings(Organization, Application);
    settings.setValue(LanguageKey, language == Language::English ? QStringLiteral("en") : QStringLiteral("ja"));
}

Language currentLanguage()
{
    return languageSwitch().language;
}

void translateWindow(QWidget *window)
{
    retranslate(window, "title", window->windowTitle(), [window](const QString &t) { window->setWindowTitle(t); },
                translatedTitle);
    translateControl(window);
    for (QWidget *control : window->findChildren<QWidget *>())
        translateControl(control);
    for (QAction *action : window->findChildren<QAction *>())
        retranslate(action, "text", action->text(), [action](const QString &t) { action->setText(t); });
}

QString helpPage(const QString &folder)
{
    return folder + (currentLanguage() == Language::English ? QStringLiteral("/help/index_en.html")
                                                            : QStringLiteral("/help/index.html"));
}

} // namespace korvel

#include "language.moc"
