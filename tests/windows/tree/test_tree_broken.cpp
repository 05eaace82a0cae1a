// Designs the tree cannot show as it is built from the root: read from
// hand-edited design files or written straight into the tables, with objects
// whose parent is gone, parents in a cycle, two objects with one name and
// objects without a name. The window neither stops nor hangs, and every
// object in use keeps exactly one item it can be reached by.
#include "designfile.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treefixture.h"

#include <QFile>
#include <QSet>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The design file's line of MibTree slot `slot` replaced by `line`.
QByteArray withTreeLine(QByteArray image, int slot, const QByteArray &line)
{
    QList<QByteArray> lines = image.split('\n');
    const int at = static_cast<int>(lines.indexOf("<MibTree>\r")) + 1 + slot;
    lines[at] = line + '\r';
    return lines.join('\n');
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TreeBrokenTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;

    // Every object in use has one item and every item but the root one
    // object in use.
    void verifyEveryObjectHasOneItem() const
    {
        QSet<int> objects;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (f.state->tables.tree[slot].InUse == 1)
                objects.insert(slot);
        }
        QList<int> shown;
        QList<QTreeWidgetItem *> pending{f.root()};
        while (!pending.isEmpty()) {
            QTreeWidgetItem *next = pending.takeFirst();
            if (next != f.root())
                shown.append(next->data(0, TreeItems::SlotRole).toInt());
            for (int i = 0; i < next->childCount(); ++i)
                pending.append(next->child(i));
        }
        QCOMPARE(shown.size(), objects.size());
        QCOMPARE(QSet<int>(shown.begin(), shown.end()), objects);
    }

    // Opens `image` as a design file through the window's menu.
    void open(const QByteArray &image)
    {
        const QString file = f.path(QStringLiteral("edited.mdf"));
        QVERIFY(writeBytes(file, image));
        f.services->answerFileDialog(*f.state, file);
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("変数に読み込みました。")});
        f.services->messages.clear();
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void handEditedFilesShowEveryObject_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("underRoot");
        const QStringList sound{QStringLiteral("sysInfo(1)"), QStringLiteral("portTable(2)")};
        // sysTemperature (slot 1) loses its parent, in several ways.
        QTest::newRow("parent slot free") << 1 << QByteArray("sysTemperature,14,1,20,4,1")
                                          << sound + QStringList{QStringLiteral("sysTemperature(1)")};
        QTest::newRow("parent beyond the tables") << 1 << QByteArray("sysTemperature,14,1,5000,4,1")
                                                  << sound + QStringList{QStringLiteral("sysTemperature(1)")};
        QTest::newRow("parent below -1") << 1 << QByteArray("sysTemperature,14,1,-7,4,1")
                                         << sound + QStringList{QStringLiteral("sysTemperature(1)")};
        QTest::newRow("its own parent") << 1 << QByteArray("sysTemperature,14,1,1,4,1")
                                        << sound + QStringList{QStringLiteral("sysTemperature(1)")};
        // sysInfo (slot 0) and its leaf sysTemperature point at each other;
        // the lowest slot of the cycle hangs under the root, the rest below it.
        QTest::newRow("cycle") << 0 << QByteArray("sysInfo,7,1,1,1,1")
                               << QStringList{QStringLiteral("portTable(2)"), QStringLiteral("sysInfo(1)")};
        // portName (slot 6) takes sysMode's name: the second of the two in the
        // order of building hangs under the root.
        QTest::newRow("name taken") << 6 << QByteArray("sysMode,7,2,4,4,1")
                                    << sound + QStringList{QStringLiteral("sysMode(2)")};
        QTest::newRow("no name") << 6 << QByteArray(",0,2,4,4,1") << sound + QStringList{QStringLiteral("(2)")};
        QTest::newRow("unknown kind") << 6 << QByteArray("portName,8,2,4,9,1") << sound;
    }

    void handEditedFilesShowEveryObject()
    {
        QFETCH(int, slot);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, underRoot);
        AppState sample;
        buildSampleDesign(sample);
        QVERIFY(f.show());
        open(withTreeLine(designFileImage(sample), slot, line));
        QCOMPARE(TreeFixture::childTexts(f.root()), underRoot);
        verifyEveryObjectHasOneItem();

        // Each item shows its own object.
        for (int object = 0; object < 8; ++object) {
            QTreeWidgetItem *item = f.itemOf(object);
            f.clickItem(item);
            QCOMPARE(f.state->EditTarget, object);
            QCOMPARE(f.text("Text5"), displayedName(*f.state, object));
            QCOMPARE(f.text("Text1").section(QLatin1Char('.'), -1), item->text(0));
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void twoObjectsWithOneNameAreEditedApart()
    {
        const int first = addNode(*f.state, QStringLiteral("dup"), 1);
        const int holder = addNode(*f.state, QStringLiteral("holder"), 2);
        const int second = addNode(*f.state, QStringLiteral("dup"), 7, holder);
        addNode(*f.state, QStringLiteral("child"), 1, second);
        QVERIFY(f.show());
        QCOMPARE(TreeFixture::childTexts(f.root()),
                 (QStringList{QStringLiteral("dup(1)"), QStringLiteral("holder(2)"), QStringLiteral("dup(7)")}));
        QCOMPARE(TreeFixture::childTexts(f.item(QStringLiteral("dup(7)"))), QStringList{QStringLiteral("child(1)")});
        verifyEveryObjectHasOneItem();

        // 設定 on the second renames the second; the name must not clash.
        f.clickText(QStringLiteral("dup(7)"));
        QCOMPARE(f.state->EditTarget, second);
        QCOMPARE(f.text("Text4"), QStringLiteral("7"));
        f.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("オブジェクト名が重複しています。")});
        f.type("Text5", QStringLiteral("dup2"));
        f.click("Command4");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("オブジェクトを変更しました。"));
        QCOMPARE(displayedName(*f.state, second), QStringLiteral("dup2"));
        QCOMPARE(displayedName(*f.state, first), QStringLiteral("dup"));
        QCOMPARE(f.state->tables.tree[second].Parent, holder);

        // 削除 of the second takes its own child, not the first's.
        f.clickText(QStringLiteral("dup2(7)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.state->tables.tree[first].InUse, 1);
        QCOMPARE(f.state->tables.MibTreeCount, 2);
        verifyEveryObjectHasOneItem();
    }

    void anObjectWithoutANameCanBeNamed()
    {
        placeObject(*f.state, 3, QString(), 4, RootSlot);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("(4)"));
        QCOMPARE(f.state->EditTarget, 3);
        // 設定 refuses to keep it nameless.
        f.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("オブジェクト名を入力してください。")});
        f.type("Text5", QStringLiteral("named"));
        f.click("Command4");
        QCOMPARE(f.item(QStringLiteral("named(4)"))->data(0, TreeItems::KeyRole).toString(), QStringLiteral("named"));
    }

    void aCycleIsDeletedWholeAndEnds()
    {
        placeObject(*f.state, 0, QStringLiteral("a"), 1, 2);
        placeObject(*f.state, 1, QStringLiteral("b"), 1, 0);
        placeObject(*f.state, 2, QStringLiteral("c"), 1, 1);
        placeObject(*f.state, 3, QStringLiteral("keep"), 2, RootSlot);
        QVERIFY(f.show());
        QCOMPARE(f.levelOrder(), (QStringList{QStringLiteral("enterprise"), QStringLiteral("keep(2)"),
                                              QStringLiteral("a(1)"), QStringLiteral("b(1)"), QStringLiteral("c(1)")}));
        f.clickText(QStringLiteral("b(1)"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.a(1).b(1)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        // b, c below it and a, whose parent c was, all go.
        QCOMPARE(f.state->tables.MibTreeCount, 1);
        QCOMPARE(f.levelOrder(), (QStringList{QStringLiteral("enterprise"), QStringLiteral("keep(2)")}));
        QCOMPARE(f.services->messages.size(), 1);
        // The parent item went too: the root is shown instead.
        QVERIFY(f.root()->isSelected());
        QCOMPARE(f.state->ShownItemIndex, 1);
    }

    void aThousandLevelsDeepAreShownAndDeleted()
    {
        placeObject(*f.state, 0, QStringLiteral("n0"), 1, RootSlot);
        for (int slot = 1; slot < StoredSlotCount; ++slot)
            placeObject(*f.state, slot, QStringLiteral("n%1").arg(slot), 1, slot - 1);
        QVERIFY(f.show());
        QCOMPARE(f.itemCount(), 1001);
        verifyEveryObjectHasOneItem();
        // Too deep to click: chosen as the keyboard would.
        f.view()->setCurrentItem(f.item(QStringLiteral("n999(1)")));
        QVERIFY(f.text("Text1").endsWith(QStringLiteral(".n998(1).n999(1)")));
        QCOMPARE(f.state->ShownItemIndex, 1001);
        f.clickText(QStringLiteral("n0(1)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.state->tables.MibTreeCount, 0);
        QCOMPARE(f.itemCount(), 1);
    }
};

QTEST_MAIN(TreeBrokenTest)
#include "test_tree_broken.moc"
