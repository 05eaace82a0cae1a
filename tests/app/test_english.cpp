// The English interface: no window, dialog or message shows a Japanese
// character; the language menu turns open windows over and back text for
// text; the command line's --lang wins over the remembered choice.
#include "guidriver.h"
#include "language.h"
#include "messagetexts.h"
#include "program.h"
#include "qtservices.h"
#include "sampledesign.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace korvel;
using namespace korvel::testing;

namespace {

// Every text a window shows: title, captions, hints, headers, list entries,
// tree items, menus and their items.
QStringList textsOf(const QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (const QObject *object : window->findChildren<QObject *>()) {
        if (const auto *list = qobject_cast<const QComboBox *>(object)) {
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        } else if (const auto *grid = qobject_cast<const QTableWidget *>(object)) {
            for (int column = 0; column < grid->columnCount(); ++column)
                texts << (grid->horizontalHeaderItem(column) ? grid->horizontalHeaderItem(column)->text() : QString());
        } else if (const auto *tree = qobject_cast<const QTreeWidget *>(object)) {
            for (QTreeWidgetItemIterator item(const_cast<QTreeWidget *>(tree)); *item; ++item)
                texts << (*item)->text(0);
        }
        for (const char *property : {"text", "title", "placeholderText", "toolTip"})
            texts << object->property(property).toString();
    }
    texts.removeAll(QString());
    return texts;
}

QStringList japaneseIn(const QStringList &texts)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\p{Hiragana}\\p{Katakana}\\p{Han}\\x{3001}-\\x{303F}\\x{FF00}-\\x{FFEF}]"));
    QStringList found = texts;
    found.removeIf([](const QString &text) { return !japanese.match(text).hasMatch(); });
    return found;
}

} // namespace

class EnglishTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver d;

    QWidget *openWindow(MainWindow which) { return shown(d.services->openWindow(which)); }

    // The window the driver works on from now on.
    QWidget *shown(QWidget *window)
    {
        d.window = window;
        QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }

    // The main window that replaced the driver's one.
    QWidget *switchedTo(const char *name)
    {
        [this] { QTRY_VERIFY(!d.window); }();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->objectName() == QLatin1String(name))
                return shown(window);
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(QSettings(QStringLiteral("Korvel"), QStringLiteral("korvel")).fileName().contains(QLatin1String(".qttest")));
    }

    void init()
    {
        d.setUp();
        registerProgramWindows(*d.services, *d.state);
        buildSampleDesign(*d.state);
    }

    void cleanup()
    {
        d.tearDown();
        useLanguage(Language::Japanese);
    }

    void everyWindowDialogAndMessageIsInEnglish()
    {
        useLanguage(Language::English);
        QStringList shown = textsOf(openWindow(MainWindow::List));
        const auto look = [&shown](QDialog &dialog) {
            shown += textsOf(&dialog);
            dialog.reject();
        };
        for (ModalDialog dialog : {ModalDialog::Design, ModalDialog::Design, ModalDialog::FileOpe, ModalDialog::FileOpe,
                                   ModalDialog::FileOpe, ModalDialog::ModuleInfo, ModalDialog::Version})
            d.services->drive(dialog, look);
        d.click("Command12");                                       // the editor, adding
        QTest::keyClick(d.get("MSFlexGrid1"), Qt::Key_Down);
        d.click("Command7");                                        // and changing
        QTest::keyClick(d.window, Qt::Key_O, Qt::ControlModifier);  // the file dialog, opening
        QTest::keyClick(d.window, Qt::Key_S, Qt::ControlModifier);  // saving
        d.click("Command3");                                        // and creating a MIB file
        d.trigger("MIB_MODULE_INFO");
        d.trigger("MIB_VERSION");
        QCOMPARE(d.services->openedDialogs.size(), 7);
        d.services->answerFileDialog(*d.state, d.path(QStringLiteral("sample.mdf")));
        QTest::keyClick(d.window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(d.window->windowTitle().endsWith(QLatin1String("sample.mdf - Korvel (List)")), qPrintable(d.window->windowTitle()));

        d.trigger("MIB_TREE");
        QVERIFY(switchedTo("Tree"));
        d.click("Command12");                                        // a message, or a new object
        shown += textsOf(d.window);
        QVERIFY(!d.services->messages.isEmpty());
        for (const Message &message : std::as_const(d.services->messages))
            shown << message.text << message.caption;

        // A real message box, its buttons Qt's own.
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown += textsOf(box);
            QCOMPARE(box->button(QMessageBox::Yes)->text() + box->button(QMessageBox::No)->text(), QStringLiteral("&Yes&No"));
            box->button(QMessageBox::No)->click();
        });
        QtServices boxes;
        QVERIFY(!boxes.ask(texts::confirmDelete()));

        QVERIFY(shown.contains(QStringLiteral("     Add")));
        QVERIFY2(japaneseIn(shown).isEmpty(), qPrintable(japaneseIn(shown).join(u'\n')));
    }

    void theLanguageMenuTurnsOpenWindowsOverAndBack()
    {
        useLanguage(Language::Japanese);
        const QStringList listInJapanese = textsOf(openWindow(MainWindow::List));
        d.trigger("MIB_TREE");
        const QStringList treeInJapanese = textsOf(switchedTo("Tree"));
        d.window->close();

        // English chosen in the List window: it turns over, is remembered, and
        // the Tree window opens in English.
        QWidget *list = openWindow(MainWindow::List);
        QCOMPARE(textsOf(list), listInJapanese);
        d.trigger("MIB_LANG_EN");
        QTRY_VERIFY(list->windowTitle().endsWith(QLatin1String(" - Korvel (List)")));
        QVERIFY(japaneseIn(textsOf(list)).isEmpty());
        QCOMPARE(textsOf(list).size(), listInJapanese.size());
        QVERIFY(d.get<QAction>("MIB_LANG_EN")->isChecked() && !d.get<QAction>("MIB_LANG_JA")->isChecked());
        QCOMPARE(startLanguage({QStringLiteral("korvel")}), Language::English);
        d.window->close();
        QWidget *tree = openWindow(MainWindow::Tree);
        QVERIFY(japaneseIn(textsOf(tree)).isEmpty());
        QVERIFY(d.get<QAction>("TREE_LANG_EN")->isChecked());

        // And back, text for text.
        d.trigger("TREE_LANG_JA");
        QTRY_COMPARE(textsOf(tree), treeInJapanese);
        QCOMPARE(startLanguage({QStringLiteral("korvel")}), Language::Japanese);
    }

    void theCommandLineWinsOverTheRememberedChoice_data()
    {
        QTest::addColumn<Language>("remembered");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Language>("expected");
        const QString en = QStringLiteral("en");
        const QString ja = QStringLiteral("ja");
        const QString lang = QStringLiteral("--lang");
        QTest::newRow("remembered") << Language::English << QStringList{} << Language::English;
        QTest::newRow("--lang ja") << Language::English << QStringList{lang, ja} << Language::Japanese;
        QTest::newRow("--lang=en") << Language::Japanese << QStringList{QStringLiteral("--lang=en")} << Language::English;
        QTest::newRow("unknown") << Language::English << QStringList{lang, QStringLiteral("fr")} << Language::English;
        QTest::newRow("unknown, then en") << Language::Japanese << QStringList{lang, QStringLiteral("EN"), lang, en}
                                          << Language::English;
        QTest::newRow("no value") << Language::English << QStringList{lang} << Language::English;
    }

    void theCommandLineWinsOverTheRememberedChoice()
    {
        QFETCH(Language, remembered);
        QFETCH(QStringList, arguments);
        QFETCH(Language, expected);
        chooseLanguage(remembered);
        arguments.prepend(QStringLiteral("korvel"));
        QCOMPARE(startLanguage(arguments), expected);
    }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
