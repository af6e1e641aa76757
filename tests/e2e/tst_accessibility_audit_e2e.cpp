#include "AccessibilityAudit.h"

void TestAccessibilityAudit::initTestCase()
{
    QString missing = RealDesktop::whatIsMissing();
    if (missing.isEmpty())
        missing = AccessibleTree::whatIsMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    const ScreenReaderAccess::DesktopState desktop = ScreenReaderAccess::readDesktop();
    if (!desktop.busFound || !ScreenReaderAccess::wantsAccessibility(desktop))
        QSKIP("needs the AT-SPI bus with the screen reader switched on; scripts/test starts one");
    QVERIFY(ScreenReaderAccess::prepareEngine());
    QVERIFY(m_server.start());
    m_server.setPage(QStringLiteral("/"), HomePage);

    m_program = std::make_unique<RunningProgram>(true, m_server.baseUrl(), &m_files);
    m_program->start();
    m_files.dialog.setParentWindow(window());
    QVERIFY(window() && window()->meaningPane());
    QSignalSpy loaded(window()->meaningPane()->webView(), &WebView::DocumentComplete);
    QVERIFY(WebWait::documents(loaded));
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);
    // The keyboard alone: the pointer waits in a corner, where no menu opens under it.
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                 { QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0") }),
        0);
    m_reader = std::make_unique<ScreenReader>();
    QVERIFY2(m_reader->start(), "the screen reader did not start");
    buildRows();
}

void TestAccessibilityAudit::cleanupTestCase()
{
    m_reader.reset();
    m_program.reset();
}

// Keys go through the X server, as the user's keyboard sends them, to whichever window has
// the focus there: what Qt makes of them (access keys, shortcuts, menus) is what is tested.
void TestAccessibilityAudit::press(const QString &keys)
{
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                 { QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys }),
        0);
}

bool TestAccessibilityAudit::settle()
{
    if (m_program->application->exitScreen())
        return true;
    window()->activateWindow();
    if (!QTest::qWaitForWindowActive(window()))
        return false;
    // Through the list, so that the box gains the focus anew and the reader hears of it.
    control<QAbstractItemView>("lstKeys")->setFocus();
    control<QLineEdit>("txtKey")->setFocus();
    return QTest::qWaitFor([&] { return m_reader->focusName() == qtFocusName(); }, 20000);
}

void TestAccessibilityAudit::openMenu(const QString &title)
{
    for (QAction *entry : window()->menuBar()->actions()) {
        if (withoutAccessKey(entry->text()) == title && entry->menu())
            window()->menuBar()->setActiveAction(entry);
    }
}

QList<QAction *> TestAccessibilityAudit::menuCommands() const
{
    QList<QAction *> commands;
    for (QAction *entry : window()->menuBar()->actions()) {
        commands << entry;
        if (entry->menu())
            commands << entry->menu()->actions();
    }
    return commands;
}

bool TestAccessibilityAudit::readerAgrees(QWidget *shown)
{
    return QTest::qWaitFor(
        [this, shown] {
            if (!qobject_cast<QMenu *>(shown) && focusIsInAPage())
                return m_reader->focusRole() == QLatin1String("document web");
            const QString expected = qtFocusName(shown);
            if (!expected.isEmpty())
                return m_reader->focusName() == expected;
            // A window with nothing to focus, such as the progress window: the reader
            // announces the window.
            QWidget *active = QApplication::activeWindow();
            return active && !active->windowTitle().isEmpty()
                && m_reader->activeName() == active->windowTitle();
        },
        15000);
}

// The focused object is in the window's tree, where the reader finds it again when the user
// asks where they are: not only announced.
QString TestAccessibilityAudit::focusOutOfTree(
    const QList<ScreenReader::Object> &objects, QWidget *shown)
{
    const QString expected = qtFocusName(shown);
    if (expected.isEmpty() || (!qobject_cast<QMenu *>(shown) && focusIsInAPage()))
        return QString();
    for (const ScreenReader::Object &object : objects) {
        if (object.name == expected)
            return QString();
    }
    QStringList listed;
    for (const ScreenReader::Object &object : objects)
        listed << object.role + QLatin1Char(' ') + object.name + QLatin1Char(' ')
                + object.states.join(QLatin1Char(','));
    return QStringLiteral("the focused \"%1\" is not in the window's tree: %2")
        .arg(expected, listed.join(QStringLiteral("; ")));
}

QStringList TestAccessibilityAudit::walkFocus(QWidget *window, const QString &key, int steps)
{
    QStringList problems;
    for (int step = 1; step <= steps; ++step) {
        // Keys sent through the X server do not reach a menu under Xvfb: the menu takes them
        // from Qt itself.
        if (auto *menu = qobject_cast<QMenu *>(window))
            QTest::keyClick(menu, key == QLatin1String("Down") ? Qt::Key_Down : Qt::Key_Up);
        else
            press(key);
        if (!readerAgrees(window)) {
            problems << QStringLiteral("%1 after %2 presses of %3: Qt's focus is \"%4\", the "
                                       "reader announces %5 \"%6\"")
                            .arg(window->objectName())
                            .arg(step)
                            .arg(key, qtFocusName(window), m_reader->focusRole(),
                                m_reader->focusName());
        }
    }
    return problems;
}

QStringList TestAccessibilityAudit::audit(
    const QString &name, QWidget *shown, const QStringList &entries)
{
    QStringList problems;
    // A menu opened from its access key may open with no entry chosen yet: Down chooses the
    // first, as the user's next key would.
    if (auto *menu = qobject_cast<QMenu *>(shown); menu && !menu->activeAction())
        QTest::keyClick(menu, Qt::Key_Down);
    if (!readerAgrees(shown))
        return { QStringLiteral("%1: the reader announces %2 \"%3\", Qt's focus is \"%4\"")
                     .arg(name, m_reader->focusRole(), m_reader->focusName(), qtFocusName(shown)) };
    // A window with nothing to focus is read as the window the reader was told is active, and
    // so is a menu of the menu bar, read under its window. A pop-up of the page hangs from no
    // window: it is read from the entry that has the focus.
    auto *menu = qobject_cast<QMenu *>(shown);
    const bool popup = menu && !window()->menuBar()->actions().contains(menu->menuAction());
    const QList<ScreenReader::Object> objects = m_reader->window(popup ? ScreenReader::Menu
            : menu || qtFocusName(shown).isEmpty()                     ? ScreenReader::Active
                                                                       : ScreenReader::Focused);
    if (objects.isEmpty())
        return { name + QStringLiteral(": the reader found no window around the focus") };
    const QString outOfTree = popup ? QString() : focusOutOfTree(objects, shown);
    if (!outOfTree.isEmpty())
        problems << name + QStringLiteral(": ") + outOfTree;
    QStringList names;
    for (const ScreenReader::Object &object : objects) {
        names << object.name;
        if (ActingRoles.contains(object.role) && object.states.contains(QLatin1String("showing"))
            && object.name.isEmpty())
            problems << QStringLiteral("%1: a %2 without a name").arg(name, object.role);
    }
    for (const QString &entry : entries) {
        if (!names.contains(entry))
            problems << QStringLiteral("%1: \"%2\" is not listed (%3)")
                            .arg(name, entry, names.join(QStringLiteral(", ")));
    }
    const QList<QAction *> commands = menuCommands();
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        if (mouseOnly(widget, commands))
            problems << QStringLiteral("%1: %2 \"%3\" needs the mouse")
                            .arg(name, QString::fromLatin1(widget->metaObject()->className()),
                                widget->objectName());
    }
    return problems << walkEveryControl(shown);
}

QStringList TestAccessibilityAudit::walkEveryControl(QWidget *shown)
{
    // Every entry of a menu, every control of a window, and round to the first again.
    if (auto *menu = qobject_cast<QMenu *>(shown)) {
        int count = 0;
        for (QAction *action : menu->actions())
            count += action->isVisible() && !action->isSeparator() && action->isEnabled();
        return walkFocus(shown, QStringLiteral("Down"), count);
    }
    int count = 0;
    for (QWidget *widget : shown->findChildren<QWidget *>())
        count
            += widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus);
    return walkFocus(shown, QStringLiteral("Tab"), qMin(count + 1, 20));
}

void TestAccessibilityAudit::everyWindowReads_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("entries");
    const QString about = QStringLiteral("About Software");
    QTest::newRow("main window") << "main window"
                                 << QStringList { "Search", "Display", "Exact Search", "Exit" };
    QTest::newRow("File menu") << "File" << QStringList { "Update", "Print Page\u2026", "Exit" };
    QTest::newRow("Page menu") << "Page" << QStringList { "Find in Page...", "Actual Size" };
    QTest::newRow("Help menu") << "Help" << QStringList { "Visit Us Online", about };
    QTest::newRow("page context menu") << "context menu" << QStringList {};
    QTest::newRow("find bar") << "find bar"
                              << QStringList { "Text to find in the page",
                                     "Find the previous match", "Find the next match",
                                     "Close the find bar" };
    QTest::newRow("about box") << "about box" << QStringList { "OK" };
    QTest::newRow("update's file dialog") << "file dialog" << QStringList {};
    QTest::newRow("progress window") << "progress window" << QStringList {};
    QTest::newRow("information box") << "information box" << QStringList { "OK" };
    QTest::newRow("question box") << "question box" << QStringList { "Yes", "No" };
    QTest::newRow("browser window") << "browser window" << QStringList { "Address" };
    QTest::newRow("exit screen") << "exit screen" << QStringList {};
    QTest::newRow("error box") << "error box" << QStringList { "OK" };
}

void TestAccessibilityAudit::everyWindowReads()
{
    QFETCH(QString, window);
    QFETCH(QStringList, entries);
    QVERIFY2(m_rows.count(window), qPrintable(window));
    const Row &row = m_rows.at(window);
    // Each window opens from the search box, once the reader has caught up with it.
    QVERIFY2(settle(), qPrintable(m_reader->focusName()));
    QStringList problems;
    bool done = false;
    // The audit starts once the window is open. A modal window runs its own event loop inside
    // open, so the audit has to run from a timer, which the window's loop runs as well.
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        QWidget *shown = row.opened();
        if (!shown)
            return;
        watch.stop();
        problems << audit(window, shown, entries);
        row.close(shown);
        done = true;
    });
    watch.start();
    row.open();
    if (!QTest::qWaitFor([&] { return done; }, 200000))
        problems << window + QStringLiteral(" did not open");
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestAccessibilityAudit::shortcutsMoveTheReportedFocus_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("announced"); // what the reader must say, "" for Qt's focus
    const QString findField = QStringLiteral("Text to find in the page");
    QTest::newRow("Ctrl+F") << "ctrl+f" << findField;
    QTest::newRow("Esc") << "Escape" << QString();
    QTest::newRow("F1") << "F1" << QString();
    QTest::newRow("Alt+D") << "alt+d" << QString();
    QTest::newRow("Ctrl+F from the list") << "ctrl+f" << findField;
    QTest::newRow("Esc again") << "Escape" << QString();
}

void TestAccessibilityAudit::shortcutsMoveTheReportedFocus()
{
    QFETCH(QString, keys);
    QFETCH(QString, announced);
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    if (QTest::currentDataTag() == QLatin1String("Alt+D"))
        control<QLineEdit>("txtKey")->setText(QStringLiteral("Snake"));
    if (QTest::currentDataTag() == QLatin1String("Ctrl+F from the list"))
        control<QAbstractItemView>("lstKeys")->setFocus();
    press(keys);
    QVERIFY2(readerAgrees(),
        qPrintable(QStringLiteral("Qt's focus is \"%1\", the reader announces %2 \"%3\"")
                       .arg(qtFocusName(), m_reader->focusRole(), m_reader->focusName())));
    if (!announced.isEmpty()) {
        QCOMPARE(m_reader->focusName(), announced);
        const QString outOfTree = focusOutOfTree(m_reader->window());
        QVERIFY2(outOfTree.isEmpty(), qPrintable(outOfTree));
    }
}

QTEST_MAIN(TestAccessibilityAudit)
