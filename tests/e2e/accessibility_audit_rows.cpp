// The audit's rows: how each window is opened, found once open, and closed again.
#include "AccessibilityAudit.h"

namespace {

// The modal window of that class once it is up and active.
std::function<QWidget *()> modal(const char *className)
{
    return [className]() -> QWidget * {
        QWidget *shown = QApplication::activeModalWidget();
        return shown && shown->inherits(className) && shown->isActiveWindow() ? shown : nullptr;
    };
}

void reject(QWidget *shown)
{
    if (auto *dialog = qobject_cast<QDialog *>(shown))
        dialog->reject();
}

// The open menu of that title, any open menu for an empty title.
std::function<QWidget *()> menuTitled(const QString &title)
{
    return [title]() -> QWidget * {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu && (title.isEmpty() || withoutAccessKey(menu->title()) == title) ? menu
                                                                                     : nullptr;
    };
}

} // namespace

void TestAccessibilityAudit::buildRows()
{
    addMainWindowRows();
    addPageRows();
    addUpdateRows();
    addMessageRows();
    addBrowserAndExitRows();
}

void TestAccessibilityAudit::addMainWindowRows()
{
    // As the user leaves a menu: Esc closes it, and a second Esc leaves the menu bar.
    // The next row's settling finds out if a menu stayed open.
    auto closeMenu = [this](QWidget *menu) {
        QTest::keyClick(menu, Qt::Key_Escape);
        if (QTest::qWaitFor([menu] { return !menu->isVisible(); })
            && window()->menuBar()->activeAction()) {
            QTest::keyClick(window()->menuBar(), Qt::Key_Escape);
            if (!QTest::qWaitFor([this] { return !window()->menuBar()->activeAction(); }))
                qWarning("The menu bar kept a menu open");
        }
    };
    m_rows["main window"] = { [this] {
                                 window()->activateWindow();
                                 control<QLineEdit>("txtKey")->setFocus();
                             },
        [this]() -> QWidget * { return window()->isActiveWindow() ? window() : nullptr; },
        [this](QWidget *) { control<QLineEdit>("txtKey")->setFocus(); } };
    for (const QString title : { "File", "Page", "Help" })
        m_rows[title] = { [this, title] { openMenu(title); }, menuTitled(title), closeMenu };
    m_rows["context menu"] = { [this] {
                                  window()->meaningPane()->webView()->setFocus();
                                  press(QStringLiteral("Menu"));
                              },
        menuTitled(QString()), closeMenu };
}

void TestAccessibilityAudit::addPageRows()
{
    m_rows["find bar"] = { [this] { press(QStringLiteral("ctrl+f")); },
        [this]() -> QWidget * {
            QWidget *bar = window()->meaningPane()->webView()->findBar();
            return bar->isVisible() && bar->isAncestorOf(QApplication::focusWidget()) ? bar
                                                                                      : nullptr;
        },
        [this](QWidget *) {
            window()->meaningPane()->webView()->findBar()->closeBar();
            control<QLineEdit>("txtKey")->setFocus();
        } };
    m_rows["about box"]
        = { [this] { control<QAction>("mnuAbout")->trigger(); }, modal("frmAbout"), reject };
}

void TestAccessibilityAudit::addUpdateRows()
{
    m_rows["file dialog"] = { [this] {
                                 m_files.path.clear();
                                 control<QAction>("mnuUpdate")->trigger();
                             },
        modal("QFileDialog"), reject };
    m_rows["progress window"] = { [this] {
                                     m_files.path = m_updates.filePath("update.dll");
                                     DictionaryFile::write(m_files.path, rowsOf({ "Owl" }));
                                     control<QAction>("mnuUpdate")->trigger();
                                 },
        []() -> QWidget * {
            QWidget *shown = modal("frmPB")();
            // Held open while it is read.
            if (shown)
                shown->findChild<QTimer *>()->stop();
            return shown;
        },
        [](QWidget *shown) {
            static_cast<QDialog *>(shown)->accept();
            // The success message follows the window.
            auto *closer = new QTimer(qApp);
            QObject::connect(closer, &QTimer::timeout, closer, [closer] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    box->accept();
                    closer->deleteLater();
                }
            });
            closer->start(50);
        } };
}

void TestAccessibilityAudit::addMessageRows()
{
    m_rows["information box"] = { [this] {
                                     control<QLineEdit>("txtKey")->clear();
                                     control<QPushButton>("cmdSearch")->click();
                                 },
        modal("QMessageBox"), reject };
    m_rows["question box"] = {
        [this] { m_program->prompter.askYesNo(QStringLiteral("Check for a newer version now?")); },
        modal("QMessageBox"), reject
    };
}

void TestAccessibilityAudit::addBrowserAndExitRows()
{
    m_rows["browser window"] = { [this] {
                                    control<QRadioButton>("optGoogle")->setChecked(true);
                                    control<QLineEdit>("txtKey")->setText(QStringLiteral("owl"));
                                    control<QPushButton>("cmdSearch")->click();
                                },
        [this]() -> QWidget * {
            QWidget *browser = window()->browserWindow();
            if (!browser || !browser->isVisible())
                return nullptr;
            if (!browser->isAncestorOf(QApplication::focusWidget()))
                browser->nextInFocusChain()->setFocus(Qt::TabFocusReason);
            return browser;
        },
        [this](QWidget *) {
            control<QRadioButton>("optExact")->setChecked(true);
            control<QLineEdit>("txtKey")->setFocus();
        } };
    m_rows["exit screen"] = { [this] { control<QAction>("mnuExit")->trigger(); },
        [this]() -> QWidget * {
            QWidget *screen = m_program->application->exitScreen();
            return screen && screen->isActiveWindow() ? screen : nullptr;
        },
        [](QWidget *) {} };
    m_rows["error box"]
        = { [this] {
               m_program->application->exitScreen()->findChild<QPushButton *>("cmdSubmit")->click();
           },
              modal("QMessageBox"), reject };
}
