// One driver for every window test: a fresh design, recording services and a
// scratch folder per test; controls found by object name; clicks and typing
// as real input events; messages and dialogs answered through the recording
// services' script (queueAnswer, answerFileDialog, drive).
#pragma once

#include "appstate.h"
#include "recordingservices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace korvel::testing {

class GuiDriver
{
public:
    void setUp()
    {
        state = std::make_unique<AppState>();
        services = std::make_unique<RecordingServices>();
        folder = std::make_unique<QTemporaryDir>();
    }

    // Ends the test: every window closed and none left open.
    void tearDown()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QTRY_VERIFY(!window);
        QVERIFY(visibleTopLevelWindows().isEmpty());
        services.reset();
        state.reset();
        folder.reset();
    }

    // A driver for a window shown elsewhere, e.g. a dialog in a drive() script.
    static GuiDriver on(QWidget *shown)
    {
        GuiDriver driver;
        driver.window = shown;
        return driver;
    }

    // Shows `w` as the active window; it is deleted when closed.
    template <typename Window>
    Window *show(Window *w)
    {
        window = w;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        QApplication::setActiveWindow(w);
        return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }

    template <typename Widget = QWidget>
    Widget *get(const char *name) const
    {
        auto *widget = window->findChild<Widget *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // The text of a text box, a multi-line box, a button, a label or a list.
    QString text(const char *name) const
    {
        const QWidget *control = get(name);
        if (auto *list = qobject_cast<const QComboBox *>(control))
            return list->currentText();
        if (auto *box = qobject_cast<const QPlainTextEdit *>(control))
            return box->toPlainText();
        return control->property("text").toString();
    }

    QStringList entries(const char *name) const
    {
        QStringList all;
        const auto *list = get<QComboBox>(name);
        for (int i = 0; i < list->count(); ++i)
            all.append(list->itemText(i));
        return all;
    }

    // A left click in the middle of a button or a tick box.
    void click(const char *name) const
    {
        auto *button = get<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    // Types into a text box or an editable list as the user would, after
    // clearing it. Key events carry Latin-1 only; other text goes in as the
    // input method would put it.
    void type(const char *name, const QString &text) const
    {
        QWidget *target = get(name);
        if (auto *list = qobject_cast<QComboBox *>(target))
            target = list->lineEdit();
        auto *line = qobject_cast<QLineEdit *>(target);
        auto *area = qobject_cast<QPlainTextEdit *>(target);
        line ? line->clear() : area->clear();
        if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
            QTest::keyClicks(target, text);
        else
            line ? line->insert(text) : area->insertPlainText(text);
    }

    // Chooses the entry showing `text` of a list.
    void choose(const char *name, const QString &text) const
    {
        auto *list = get<QComboBox>(name);
        const int index = list->findText(text);
        if (index < 0)
            qFatal("no entry %s", qPrintable(text));
        list->setCurrentIndex(index);
    }

    // "name=text" types into a box or chooses from a fixed list; a bare
    // "name" clicks that button.
    void set(const QString &setting) const
    {
        const QByteArray name = setting.section(u'=', 0, 0).toLatin1();
        const QString value = setting.section(u'=', 1);
        auto *list = window->findChild<QComboBox *>(QLatin1String(name));
        if (!setting.contains(u'='))
            click(name.constData());
        else if (list && !list->isEditable())
            choose(name.constData(), value);
        else
            type(name.constData(), value);
    }

    // The visible top-level window named `name`, or none.
    static QWidget *shownWindow(const char *name)
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == QLatin1String(name))
                return widget;
        return nullptr;
    }

    // Runs a menu item by its object name.
    void trigger(const char *name) const { get<QAction>(name)->trigger(); }

    // Compares the window with `file`, one control a line: the window shows
    // its title, a frame or a menu its title, a list its entries
    // (comma-separated), any other control its caption; "tab=A,B,..." is the
    // tab order from A; "max=Name,N" a box's length limit; '#' starts a note.
    void compareWithFile(const QString &file) const
    {
        QStringList expected = QString::fromUtf8(contents(file)).split(u'\n', Qt::SkipEmptyParts);
        expected.removeIf([](const QString &line) { return line.startsWith(u'#'); });
        QVERIFY2(!expected.isEmpty(), qPrintable(file));
        QStringList actual;
        for (const QString &line : expected) {
            const QString name = line.section(u'=', 0, 0);
            const QStringList values = line.section(u'=', 1).split(u',');
            const QObject *control = name == window->objectName() ? window.data() : window->findChild<QObject *>(name);
            QStringList shown;
            if (!control && name != QLatin1String("tab") && name != QLatin1String("max")) {
                shown.append(QStringLiteral("(missing)"));
            } else if (name == QLatin1String("tab")) {
                QWidget *widget = get(qPrintable(values.first()));
                for (int step = 0; step < 200 && shown.size() < values.size(); ++step) {
                    if (values.contains(widget->objectName()) && !shown.contains(widget->objectName()))
                        shown.append(widget->objectName());
                    widget = widget->nextInFocusChain();
                }
            } else if (name == QLatin1String("max")) {
                shown = {values.first(), QString::number(get<QLineEdit>(qPrintable(values.first()))->maxLength())};
            } else if (qobject_cast<const QComboBox *>(control)) {
                shown = entries(qPrintable(name));
            } else if (control) {
                const char *property = control == window.data()              ? "windowTitle"
                                       : control->property("title").isValid() ? "title"
                                                                              : "text";
                shown.append(control == window.data() ? shownTitle() : control->property(property).toString());
            }
            actual.append(name + u'=' + shown.join(u','));
        }
        QCOMPARE(actual, expected);
        // Laid out: no two visible controls of one frame lie over each other.
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const QList<QWidget *> siblings = control->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            for (QWidget *other : siblings.mid(siblings.indexOf(control) + 1))
                QVERIFY2(!control->isVisible() || !other->isVisible() || control->isWindow() || other->isWindow()
                             || !control->geometry().intersects(other->geometry()),
                         qPrintable(control->objectName() + u" over "_qs + other->objectName()));
        }
    }

    // The window's title as shown: "[*]" is the change mark.
    QString shownTitle() const
    {
        return window->windowTitle().replace(QLatin1String("[*]"),
                                             window->isWindowModified() ? QLatin1String("*") : QLatin1String(""));
    }

    QString path(const QString &name) const { return folder->filePath(name); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<QTemporaryDir> folder;
    QPointer<QWidget> window;
};

} // namespace korvel::testing
