// The Tree window's file commands and menus: the file dialog's answer, the
// design file opened and saved with this window's title and messages, the
// switch to the List window and back, help, the about box and 終了. MIB
// files through the library are tested in test_tree_mib.cpp.
#include "designfile.h"
#include "program.h"
#include "sampledesign.h"
#include "treefixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>

using namespace korvel;
using namespace korvel::testing;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

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

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void cancelDoesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("mode");
        QTest::newRow("open") << "TREE_OPEN" << 1;
        QTest::newRow("save") << "TREE_SAVE" << 2;
        QTest::newRow("create") << "Command1" << 3;
        QTest::newRow("load") << "TREE_LOAD" << 4;
    }

    void cancelDoesNothing()
    {
        QFETCH(QString, command);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.services->cancelFileDialog(*f.state);
        run(f.window, command.toLatin1().constData());
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>{ModalDialog::FileOpe});
        QTEST(static_cast<int>(f.state->FileDialogMode), "mode");
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
        QVERIFY(QDir(f.folder->path()).isEmpty());
    }

    void wrongExtensionsAndMissingFilesAreRefused_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        const QString mdf = QStringLiteral("拡張子(.mdf)がついていないか無効です。");
        const QString mib = QStringLiteral("拡張子(.mib)がついていないか無効です。");
        const QString missing = QStringLiteral("ファイルがみつかりません。");
        QTest::newRow("open capitals") << "TREE_OPEN" << "design.MDF" << mdf;
        QTest::newRow("save other") << "TREE_SAVE" << "design.mib" << mdf;
        QTest::newRow("load capitals") << "TREE_LOAD" << "module.MIB" << mib;
        QTest::newRow("create short") << "Command1" << "mib" << mib;
        QTest::newRow("open missing") << "TREE_OPEN" << "none.mdf" << missing;
        QTest::newRow("load missing") << "TREE_LOAD" << "none.mib" << missing;
    }

    void wrongExtensionsAndMissingFilesAreRefused()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, message);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        if (!file.startsWith(QLatin1String("none")))
            QVERIFY(writeBytes(f.path(file), "x"));
        f.services->answerFileDialog(*f.state, f.path(file));
        run(f.window, command.toLatin1().constData());
        QCOMPARE(f.services->texts(), QStringList{message});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
    }

    void saveThenOpenRebuildTheTreeWithTheFilesTitle()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("design.mdf"));
        f.services->answerFileDialog(*f.state, file);
        f.trigger("TREE_SAVE");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルに保存しました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("保存の確認"));
        QCOMPARE(contents(file), designFileImage(*f.state));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("design.mdf - Korvel （ツリー）"));

        // Saving over it asks first; No keeps the file.
        f.services->answerFileDialog(*f.state, file);
        f.services->queueAnswer(MessageButton::No);
        f.trigger("TREE_SAVE");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("元のファイルが上書きされますが、よろしいですか？"));
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("保存の確認"));

        // Open a design that differs, with an object shown in the panel.
        AppState other;
        addNode(other, QStringLiteral("alpha"), 1);
        addNode(other, QStringLiteral("beta"), 2, 0);
        const QString otherFile = f.path(QStringLiteral("other.mdf"));
        QVERIFY(writeDesignFile(other, otherFile));
        f.clickText(QStringLiteral("portName(2)"));
        f.state->ListLevel = 3;
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, otherFile);
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("変数に読み込みました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("ファイルオープンの確認"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("other.mdf - Korvel （ツリー）"));
        QCOMPARE(f.levelOrder(), (QStringList{QStringLiteral("enterprise"), QStringLiteral("alpha(1)"),
                                              QStringLiteral("beta(2)")}));
        QVERIFY(!f.root()->isExpanded());
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.state->CurrentFile, QStringLiteral("other.mdf"));
        // The panel keeps what it showed until the next click; the shown
        // position and the edit target stay.
        QCOMPARE(f.text("Text5"), QStringLiteral("portName"));
        QCOMPARE(f.state->EditTarget, 6);
        QCOMPARE(f.state->ShownItemIndex, 8);
        QCOMPARE(f.chosenOption(), 0);
    }

    void aDesignFileThatCannotBeReadChangesNothing()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString file = f.path(QStringLiteral("broken.mdf"));
        QVERIFY(writeBytes(file, "<MibTree>\r\nnot,a,design\r\n"));
        f.services->answerFileDialog(*f.state, file);
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルの読み込みに失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        // This window's open also forgets the file dialog's answer.
        QCOMPARE(f.state->SelectedFile, QString());
        QCOMPARE(f.state->SelectedFolder, QString());
        QCOMPARE(f.state->SelectedDrive, QString());
        QCOMPARE(f.itemCount(), 9);
    }

    void aSaveThatFailsIsReported()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("gone/design.mdf")));
        f.trigger("TREE_SAVE");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルの保存に失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
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
        QVERIFY(f.services->openWindow(MainWindow::List));
        QTRY_VERIFY(visibleWindow("List"));

        // The switches run inside the event loop, which would end early if a
        // switch ever left no window open.
        QStringList seen;
        QString treeTitle;
        QString levelAfterReturn;
        QString treeAfterReturn;
        const QString design = f.path(QStringLiteral("other.mdf"));
        AppState other;
        addNode(other, QStringLiteral("solo"), 4);
        QVERIFY(writeDesignFile(other, design));
        QTimer::singleShot(0, this, [&] { run(visibleWindow("List"), "MIB_TREE"); });
        QTimer::singleShot(40, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            QWidget *tree = visibleWindow("Tree");
            treeTitle = tree->windowTitle();
            // Items are built from the tables on opening.
            seen.append(QString::number(tree->findChild<QTreeWidget *>(QStringLiteral("TreeView1"))
                                            ->topLevelItem(0)->childCount()));
            run(tree, "TREE_LIST");
        });
        QTimer::singleShot(80, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            levelAfterReturn = visibleWindow("List")->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
            run(visibleWindow("List"), "MIB_TREE");
        });
        QTimer::singleShot(120, this, [&] {
            // A design opened here, then the List window shows its top level.
            f.services->answerFileDialog(*f.state, design);
            run(visibleWindow("Tree"), "TREE_OPEN");
            treeAfterReturn = visibleWindow("Tree")->windowTitle();
            run(visibleWindow("Tree"), "TREE_LIST");
        });
        QTimer::singleShot(160, this, [&] {
            levelAfterReturn += QLatin1Char('|') + visibleWindow("List")->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
            run(visibleWindow("List"), "MIB_TREE");
        });
        QTimer::singleShot(200, this, [&] {
            // Back in the Tree window the title starts over.
            treeAfterReturn += QLatin1Char('|') + visibleWindow("Tree")->windowTitle();
            visibleWindow("Tree")->close();
        });
        QTRY_VERIFY_WITH_TIMEOUT(visibleTopLevelWindows().isEmpty(), 5000);
        QCOMPARE(seen, (QStringList{QStringLiteral("Tree"), QStringLiteral("2"), QStringLiteral("List")}));
        QCOMPARE(treeTitle, QStringLiteral("Korvel （ツリー）"));
        QCOMPARE(levelAfterReturn, QStringLiteral("portTable|enterprise"));
        QCOMPARE(treeAfterReturn, QStringLiteral("other.mdf - Korvel （ツリー）|Korvel （ツリー）"));
    }
};

QTEST_MAIN(TreeFilesTest)
#include "test_tree_files.moc"
