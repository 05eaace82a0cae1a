// The Tree window's file commands and menus: design files opened and saved
// and MIB files created and loaded (through the real libkorvel) with this
// window's titles and messages, every refusal leaving the design as it was,
// the switch to the List window and back, help, the about box and 終了.
#include "program.h"
#include "sampledesign.h"
#include "treefixture.h"

#include <QDir>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Title = u"Korvel （ツリー）"_s;
const QString Loaded = u"変数に読み込みました。"_s;
const QString ReadFailed = u"ファイルの読み込みに失敗しました"_s;

QWidget *visibleWindow(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}

void run(QObject *window, const char *name)
{
    if (auto *action = window->findChild<QAction *>(QLatin1String(name)))
        action->trigger();
    else
        window->findChild<QPushButton *>(QLatin1String(name))->click();
}

} // namespace

class TreeFilesTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;
    QString m_startFolder;

private Q_SLOTS:
    void init()
    {
        f.setUp();
        // error.log lives in the current folder: each test has its own.
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(f.folder->path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_startFolder);
        f.tearDown();
    }

    void cancelledRefusedAndFailedFilesChangeNothing()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QList<QPair<const char *, int>> commands{{"TREE_OPEN", 1}, {"TREE_SAVE", 2}, {"Command1", 3}, {"TREE_LOAD", 4}};
        for (const auto &[command, mode] : commands) {
            f.services->cancelFileDialog(*f.state);
            run(f.window, command);
            QCOMPARE(f.state->FileDialogMode, mode);
        }
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>(4, ModalDialog::FileOpe));
        QVERIFY(f.services->messages.isEmpty());
        QVERIFY(QDir(f.folder->path()).isEmpty());

        // The messages the windows share are the List window's tests; one
        // refusal and this window's own load failure show here.
        struct Row {
            const char *command;
            QString file;
            QByteArray bytes;
            QString message;
            MessageKind kind = MessageKind::Warning;
        };
        const QList<Row> rows{
            {"TREE_OPEN", u"design.MDF"_s, "x", u"拡張子(.mdf)がついていないか無効です。"_s},
            {"TREE_OPEN", u"broken.mdf"_s, "<MibTree>\r\nnot,a,design\r\n", ReadFailed, MessageKind::Error},
            // The tokenizer cannot create its token file where a folder of
            // that name stands, and says so in error.log; the message is
            // this window's.
            {"TREE_LOAD", u"broken.mib"_s, "TEST-MIB DEFINITIONS ::= BEGIN\r\nEND\r\n",
             u"MIBファイルのオープンに失敗しました。\r詳細は error.log を参照してください。"_s}};
        QVERIFY(QDir().mkdir(f.path(u"broken.mib_tmp1_token"_s)));
        for (const Row &row : rows) {
            f.services->messages.clear();
            QVERIFY(writeBytes(f.path(row.file), row.bytes));
            f.services->answerFileDialog(*f.state, f.path(row.file));
            run(f.window, row.command);
            // The file goes into both sides, so that a failure names it.
            QCOMPARE(row.file + u": "_s + f.services->texts().join(u'/'), row.file + u": "_s + row.message);
            f.verifyRefused(row.message, row.kind);
            QCOMPARE(f.window->windowTitle(), Title);
            QCOMPARE(f.state->CurrentFile, u"File"_s);
            QCOMPARE(f.items().size(), 9);
        }
        // The failed open also forgot the file dialog's answer.
        f.services->answerFileDialog(*f.state, f.path(u"broken.mdf"_s));
        f.trigger("TREE_OPEN");
        QCOMPARE(f.state->SelectedDrive + f.state->SelectedFolder + f.state->SelectedFile, QString());
    }

    void designAndMibFilesWrittenAndReadBack()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString file = f.path(u"design.mdf"_s);
        f.services->answerFileDialog(*f.state, file);
        f.trigger("TREE_SAVE");
        QCOMPARE(f.services->texts(), QStringList{u"ファイルに保存しました。"_s});
        QCOMPARE(contents(file), designFileImage(*f.state));
        QCOMPARE(f.window->windowTitle(), u"design.mdf - Korvel （ツリー）"_s);
        // A MIB file from the button below the tree.
        const QString mib = f.path(u"sample.mib"_s);
        f.services->answerFileDialog(*f.state, mib);
        f.click("Command1");
        QCOMPARE(f.services->lastMessage().text, u"MIBファイルを作成しました。"_s);
        QVERIFY(contents(mib).contains("portTable"));

        // Open a design that differs, with an object shown in the panel.
        AppState other;
        addNode(other, u"alpha"_s, 1);
        addNode(other, u"beta"_s, 2, 0);
        const QString otherFile = f.path(u"other.mdf"_s);
        QVERIFY(writeDesignFile(other, otherFile));
        f.clickText(u"portName(2)"_s);
        f.state->ListLevel = 3;
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, otherFile);
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{Loaded});
        QCOMPARE(f.window->windowTitle(), u"other.mdf - Korvel （ツリー）"_s);
        QCOMPARE(f.levelOrder(), words(u"enterprise alpha(1) beta(2)"_s));
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.state->CurrentFile, u"other.mdf"_s);
        // The shown position and the edit target stay until the next click.
        QCOMPARE(f.shown(), u"8 6 enterprise.portTable(2).portEntry(1).portName(2)"_s);

        // The MIB file loaded back rebuilds the tree; the title, the current
        // file and the panel stay.
        f.clickText(u"alpha(1)"_s);
        f.state->ListLevel = 0;
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("TREE_LOAD");
        QCOMPARE(f.services->texts(), QStringList{Loaded});
        QCOMPARE(f.levelOrder(), words(u"enterprise sysInfo(1) portTable(2) sysTemperature(1) sysMode(2) "
                                       u"portEntry(1) portIndex(1) portName(2) portStatus(3)"_s));
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.window->windowTitle(), u"other.mdf - Korvel （ツリー）"_s);
        QCOMPARE(f.shown(), u"2 0 enterprise.alpha(1)"_s);
    }

    void helpVersionAndEnd()
    {
        QVERIFY(f.show());
        f.trigger("TREE_HELP_HELP");
        QCOMPARE(f.services->helpRequests, 1);
        f.trigger("TREE_VERSION");
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>{ModalDialog::Version});
        f.trigger("TREE_END");
        QTRY_VERIFY(!f.window);
        QVERIFY(f.services->messages.isEmpty());
    }

    void switchingBetweenTheMainWindows()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        f.state->ListLevel = 3;
        const QString design = f.path(u"other.mdf"_s);
        AppState other;
        addNode(other, u"solo"_s, 4);
        QVERIFY(writeDesignFile(other, design));
        QVERIFY(f.services->openWindow(MainWindow::List));
        QTRY_VERIFY(visibleWindow("List"));
        const auto switchTo = [](const char *command, const char *from, const char *to) {
            run(visibleWindow(from), command);
            QTRY_COMPARE(visibleTopLevelWindows(), QStringList{QLatin1String(to)});
        };
        const auto listLevel = [] { return visibleWindow("List")->findChild<QLineEdit *>(u"Text1"_s)->text(); };

        // The tree is built from the tables on opening; the List window
        // comes back at its level.
        switchTo("MIB_TREE", "List", "Tree");
        QCOMPARE(visibleWindow("Tree")->windowTitle(), Title);
        QCOMPARE(visibleWindow("Tree")->findChild<QTreeWidget *>()->topLevelItem(0)->childCount(), 2);
        switchTo("TREE_LIST", "Tree", "List");
        QCOMPARE(listLevel(), u"portTable"_s);
        // A design opened here, then the List window shows its top level and
        // the Tree window's title starts over.
        switchTo("MIB_TREE", "List", "Tree");
        f.services->answerFileDialog(*f.state, design);
        run(visibleWindow("Tree"), "TREE_OPEN");
        QCOMPARE(visibleWindow("Tree")->windowTitle(), u"other.mdf - Korvel （ツリー）"_s);
        switchTo("TREE_LIST", "Tree", "List");
        QCOMPARE(listLevel(), u"enterprise"_s);
        switchTo("MIB_TREE", "List", "Tree");
        QCOMPARE(visibleWindow("Tree")->windowTitle(), Title);
    }
};

QTEST_MAIN(TreeFilesTest)
#include "test_tree_files.moc"
