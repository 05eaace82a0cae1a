// What the List window tests share: a fresh design and recording services per
// test, the window shown offscreen, and ways to reach its controls by name.
#pragma once

#include "appstate.h"
#include "list.h"
#include "recordingservices.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace korvel::testing {

class ListFixture
{
public:
    void setUp()
    {
        state = std::make_unique<AppState>();
        services = std::make_unique<RecordingServices>();
        folder = std::make_unique<QTemporaryDir>();
    }

    // Ends the test: the window closed and no top-level window left open.
    void tearDown()
    {
        if (window)
            window->close();
        QTRY_VERIFY(!window);
        QVERIFY(visibleTopLevelWindows().isEmpty());
        services.reset();
        state.reset();
        folder.reset();
    }

    List *show()
    {
        window = new List(*state, *services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

    QTableWidget *grid() const { return window->findChild<QTableWidget *>(QStringLiteral("MSFlexGrid1")); }

    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = grid()->item(row, column);
        return item ? item->text() : QString();
    }

    QStringList names() const
    {
        QStringList all;
        for (int row = 0; row < grid()->rowCount(); ++row)
            all.append(cell(row, 0).trimmed());
        return all;
    }

    // Each row's three cells, joined by '|'.
    QStringList rows() const
    {
        QStringList all;
        for (int row = 0; row < grid()->rowCount(); ++row)
            all.append(cell(row, 0) + u'|' + cell(row, 1) + u'|' + cell(row, 2));
        return all;
    }

    QString text1() const { return window->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(); }

    void click(const char *button) const
    {
        window->findChild<QPushButton *>(QLatin1String(button))->click();
    }

    QAction *action(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }

    void trigger(const char *menuItem) const { action(menuItem)->trigger(); }

    // Runs a menu item (MIB_...) or clicks a button (Command...).
    void run(const QString &command) const
    {
        if (command.startsWith(QLatin1String("MIB_")))
            trigger(command.toLatin1().constData());
        else
            click(command.toLatin1().constData());
    }

    void doubleClickRow(int row) const
    {
        QTableWidget *g = grid();
        g->setCurrentCell(row, 0);
        const QRect cellRect = g->visualRect(g->model()->index(row, 0));
        // A double-click starts with a click, as a person's does.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellRect.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cellRect.center());
    }

    QString path(const QString &name) const { return folder->filePath(name); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<QTemporaryDir> folder;
    QPointer<List> window;
};

} // namespace korvel::testing
