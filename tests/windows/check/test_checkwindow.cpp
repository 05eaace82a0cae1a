// The design check's window: its findings for the design as it stands, the
// same one window from either main window, a fresh check after each edit,
// and a double-click that leads to the object in the Tree window.
#include "guidriver.h"
#include "listwindow.h"
#include "program.h"
#include "tableops.h"
#include "workedexample.h"

#include <QTableWidget>
#include <QTreeWidget>

using namespace korvel;
using namespace korvel::testing;

namespace {

QWidget *shown(const char *name) { return GuiDriver::shownWindow(name); }

// The check window's rows, each "object|severity|message".
QStringList findings()
{
    QStringList rows;
    const auto *list = shown("Check")->findChild<QTreeWidget *>(QStringLiteral("CheckList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        rows.append(item->text(0) + u'|' + item->text(1) + u'|' + item->text(2));
    }
    return rows;
}

const QString BadName = QStringLiteral("オブジェクト名は英小文字で始まり、英字と数字だけでなければなりません。");

} // namespace

class CheckWindowTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;

private Q_SLOTS:
    void init()
    {
        f.setUp();
        registerProgramWindows(*f.services, *f.state);
    }
    void cleanup() { f.tearDown(); }

    void findingsFollowEditsAndLeadToTheTree()
    {
        buildWorkedExample(*f.state);
        const int bad = addNode(*f.state, QStringLiteral("Bad"), 7);
        addNode(*f.state, QStringLiteral("Worse"), 8);
        f.show(new ListWindow(*f.state, *f.services));
        f.trigger("MIB_CHECK");
        QCOMPARE(findings(), (QStringList{QStringLiteral("Bad|エラー|") + BadName, QStringLiteral("Worse|エラー|") + BadName}));
        QCOMPARE(shown("Check")->findChild<QLabel *>(QStringLiteral("CheckCount"))->text(),
                 QStringLiteral("エラー 2件、警告 0件"));

        // 削除 in the List window: Worse is the last row of the top level.
        auto *grid = f.get<QTableWidget>("MSFlexGrid1");
        const QPoint last = grid->visualItemRect(grid->item(grid->rowCount() - 1, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, last);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(findings(), QStringList{QStringLiteral("Bad|エラー|") + BadName});

        // A double-click leads to Bad in the Tree window, which takes the List window's place.
        auto *list = shown("Check")->findChild<QTreeWidget *>(QStringLiteral("CheckList"));
        const QPoint first = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTRY_VERIFY(!shown("List"));
        const GuiDriver tree = GuiDriver::on(shown("Tree"));
        QVERIFY(tree.window);
        QCOMPARE(tree.get<QTreeWidget>("TreeView1")->currentItem()->text(0), QStringLiteral("Bad(7)"));
        QCOMPARE(f.state->EditTarget, bad);

        // The Tree window's menu shows the same one window; its 削除 checks again.
        tree.trigger("TREE_CHECK");
        f.services->queueAnswer(MessageButton::Yes);
        tree.click("Command11");
        QCOMPARE(findings(), QStringList{QStringLiteral("||問題は見つかりませんでした。")});
        QCOMPARE(visibleTopLevelWindows().count(QStringLiteral("Check")), 1);
    }
};

QTEST_MAIN(CheckWindowTest)
#include "test_checkwindow.moc"
