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
#include <QTemporaryDir>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace korvel;
using namespace korvel::testing;

// Every text a window shows: title, captions, hints, headers, list entries,
// tree items in every column, menus and their items.
static QStringList textsOf(const QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QObject *object : window->findChildren<QObject *>()) {
        if (auto *list = qobject_cast<QComboBox *>(object))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        if (auto *grid = qobject_cast<QTableWidget *>(object))
            for (int column = 0; column < grid->columnCount(); ++column)
                texts << grid->model()->headerData(column, Qt::Horizontal).toString();
        if (auto *tree = qobject_cast<QTreeWidget *>(object))
            for (QTreeWidgetItemIterator item(tree); *item; ++item)
                for (int column = 0; column < tree->columnCount(); ++column)
                    texts << (*item)->text(column) << tree->headerItem()->text(column);
        for (const char *property : {"text", "title", "placeholderText", "toolTip"})
            texts << object->property(property).toString();
    }
    texts.removeAll(QString());
    return texts;
}

static QStringList japaneseIn(QStringList texts)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\p{Hiragana}\\p{Katakana}\\p{Han}\\x{3001}-\\x{303F}\\x{FF00}-\\x{FFEF}]"));
    texts.removeIf([](const QString &text) { return !japanese.match(text).hasMatch(); });
    return texts;
}

class EnglishTest : public QObject
{
    Q_OBJECT

    GuiDriver d;
    QTemporaryDir m_settings;

    // Makes `window` the one the driver works on.
    QWidget *use(QWidget *window)
    {
        d.window = window, QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
    QWidget *open(MainWindow which) { return use(d.services->openWindow(which)); }
    // The main window that took the driver's one's place.
    QWidget *switchedTo(const char *name)
    {
        [this] { QTRY_VERIFY(!d.window); }();
        QWidget *window = d.shownWindow(name);
        return window ? use(window) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The choice is remembered in this test's own folder, apart from
        // the user's and from other tests running at the same time.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QVERIFY(QSettings(QStringLiteral("Korvel"), QStringLiteral("korvel")).fileName().startsWith(m_settings.path()));
    }
    void init() { d.setUp(), registerProgramWindows(*d.services, *d.state), buildSampleDesign(*d.state); }
    void cleanup() { d.tearDown(), useLanguage(Language::Japanese); }

    void everyWindowDialogAndMessageIsInEnglish()
    {
        useLanguage(Language::English);
        QStringList shown = textsOf(open(MainWindow::List));
        for (ModalDialog dialog : {ModalDialog::Design, ModalDialog::Design, ModalDialog::FileOpe, ModalDialog::FileOpe,
                                   ModalDialog::FileOpe, ModalDialog::ModuleInfo, ModalDialog::Version, ModalDialog::Find})
            d.services->drive(dialog, [&shown](QDialog &box) { shown += textsOf(&box), box.reject(); });
        d.click("Command12");                                      // the editor, adding
        QTest::keyClick(d.get("MSFlexGrid1"), Qt::Key_Down);
        d.click("Command7");                                       // and changing
        QTest::keyClick(d.window, Qt::Key_O, Qt::ControlModifier); // the file dialog, opening,
        QTest::keyClick(d.window, Qt::Key_S, Qt::ControlModifier); // saving
        d.click("Command3");                                       // and creating a MIB file
        d.trigger("MIB_MODULE_INFO");
        d.trigger("MIB_VERSION");
        QTest::keyClick(d.window, Qt::Key_F, Qt::ControlModifier); // the find dialog
        QCOMPARE(d.services->openedDialogs.size(), 8);
        d.services->answerFileDialog(*d.state, d.path(QStringLiteral("sample.mdf")));
        QTest::keyClick(d.window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(d.window->windowTitle().endsWith(QLatin1String("sample.mdf[*] - Korvel (List)")));

        // The check window with the sample's findings, with none once
        // portTable is deleted, and the unsaved-changes question.
        d.trigger("MIB_CHECK");
        shown += textsOf(d.shownWindow("Check"));
        auto *grid = use(d.window)->findChild<QTableWidget *>(QStringLiteral("MSFlexGrid1"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 0)).center());
        d.services->queueAnswer(MessageButton::Yes);
        d.click("Command11");
        shown += textsOf(d.shownWindow("Check"));
        QVERIFY(shown.contains(QStringLiteral("No problems were found.")) && shown.contains(QStringLiteral("Severity")));
        d.services->queueAnswer(MessageButton::Cancel);
        QTest::keyClick(d.window, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(d.services->lastMessage().asksCancel());

        d.trigger("MIB_TREE");
        QVERIFY(switchedTo("Tree"));
        d.click("Command12");
        shown += textsOf(d.window);
        QVERIFY(!d.services->messages.isEmpty());
        for (const Message &message : std::as_const(d.services->messages))
            shown << message.text << message.caption;

        // A real message box, its buttons Qt's own.
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown += textsOf(box);
            QCOMPARE(box->button(QMessageBox::Yes)->text() + box->button(QMessageBox::No)->text() + box->button(QMessageBox::Cancel)->text(),
                     QStringLiteral("&Yes&NoCancel"));
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(QtServices().show(texts::unsavedChanges(), MessageKind::QuestionWithCancel), MessageButton::No);

        QVERIFY(shown.contains(QStringLiteral("     Add")));
        QVERIFY2(japaneseIn(shown).isEmpty(), qPrintable(japaneseIn(shown).join(u'\n')));
    }

    void theLanguageMenuTurnsOpenWindowsOverAndBack()
    {
        const QStringList treeInJapanese = textsOf(open(MainWindow::Tree));
        d.window->close();

        // English chosen in the List window turns it over, is remembered,
        // and the Tree window opens in English.
        QWidget *list = open(MainWindow::List);
        d.trigger("MIB_LANG_EN");
        QTRY_VERIFY(list->windowTitle().endsWith(QLatin1String(" - Korvel (List)")));
        QVERIFY(japaneseIn(textsOf(list)).isEmpty());
        QVERIFY(d.get<QAction>("MIB_LANG_EN")->isChecked() && !d.get<QAction>("MIB_LANG_JA")->isChecked());
        QCOMPARE(startLanguage({QStringLiteral("korvel")}), Language::English);
        d.window->close();
        QWidget *tree = open(MainWindow::Tree);
        QVERIFY(japaneseIn(textsOf(tree)).isEmpty());

        // And back, text for text.
        d.trigger("TREE_LANG_JA");
        QTRY_COMPARE(textsOf(tree), treeInJapanese);
        QVERIFY(d.get<QAction>("TREE_LANG_JA")->isChecked());
        QCOMPARE(startLanguage({QStringLiteral("korvel")}), Language::Japanese);
    }

    void theCommandLineWinsOverTheRememberedChoice()
    {
        const auto ja = Language::Japanese, en = Language::English;
        const struct { Language remembered; const char *arguments; Language expected; } cases[] = {
            {en, "", en}, {en, "--lang ja", ja}, {ja, "--lang=en", en}, {en, "--lang EN --lang", en}, {ja, "--lang fr --lang en", en}};
        for (const auto &c : cases) {
            chooseLanguage(c.remembered);
            const QStringList arguments = QStringLiteral("korvel %1").arg(QLatin1String(c.arguments)).split(u' ', Qt::SkipEmptyParts);
            QCOMPARE(startLanguage(arguments), c.expected);
        }
    }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
