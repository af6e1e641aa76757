#pragma once
// The audit's suite as its two sources share it: the helpers that read what a reader and Qt say,
// and the suite's class, whose rows (one per window) are built in accessibility_audit_rows.cpp.
#include "Application.h"
#include "DialogFileChooser.h"
#include "DictionaryFile.h"
#include "FindBar.h"
#include "LocalHttpServer.h"
#include "MDI.h"
#include "RealDesktop.h"
#include "RunningProgram.h"
#include "ScreenReader.h"
#include "ScreenReaderAccess.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <map>

namespace AuditHelpers {

inline const QByteArray HomePage = "<!DOCTYPE html><html><head><title>Somnilex home</title></head>"
                                   "<body><h1>Somnilex</h1><p>Dreams</p></body></html>";

// Roles of the objects a user acts on: each must carry a name a reader can say.
inline const QStringList ActingRoles { "push button", "toggle button", "check box", "radio button",
    "menu item", "check menu item", "radio menu item", "text", "entry", "password text",
    "combo box", "link", "page tab", "spin button", "slider", "table", "list", "tree",
    "tree table" };

// The file chooser of the audit: the real dialog, or a given file for the progress window.
class AuditFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen() override
    {
        return path.isEmpty() ? dialog.chooseFileToOpen() : path;
    }
    DialogFileChooser dialog;
    QString path;
};

inline QString withoutAccessKey(QString text)
{
    return text.remove(QLatin1Char('&')).trimmed();
}

// The object that holds Qt's focus, as Qt describes it to a reader: the active entry of an open
// menu, else the focused child of the focus widget (the current row of a list), else the
// widget itself.
inline QString qtFocusName(QWidget *shown = nullptr)
{
    auto *menu = qobject_cast<QMenu *>(shown);
    if (!menu)
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (menu)
        return menu->activeAction() ? withoutAccessKey(menu->activeAction()->text()) : QString();
    QWidget *widget = QApplication::focusWidget();
    if (!widget)
        return QString();
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(widget);
    if (!focused)
        return QString();
    if (QAccessibleInterface *child = focused->focusChild())
        focused = child;
    return focused->text(QAccessible::Name);
}

// The page inside a web view holds the focus: the reader then reads the web document.
inline bool focusIsInAPage()
{
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (qobject_cast<WebView *>(widget))
            return true;
    }
    return false;
}

// What the keyboard alone cannot reach: a control that takes no focus, unless it is a tool
// button whose command has a key or a menu entry of its own.
inline bool mouseOnly(QWidget *widget, const QList<QAction *> &menuCommands)
{
    const bool acts = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
        || qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractItemView *>(widget)
        || qobject_cast<QPlainTextEdit *>(widget) || widget->inherits("LinkLabel");
    if (!acts || !widget->isVisible() || !widget->isEnabled())
        return false;
    // A field's clear button: the keys clear the field as well.
    if (qobject_cast<QLineEdit *>(widget->parentWidget()))
        return false;
    // A header that does nothing when clicked; or the columns of Qt's own file dialog, whose
    // sorting is a convenience that its keyboard users do without.
    if (auto *header = qobject_cast<QHeaderView *>(widget);
        header && (!header->sectionsClickable() || header->window()->inherits("QFileDialog")))
        return false;
    if (widget->focusPolicy() & Qt::TabFocus)
        return false;
    if (auto *button = qobject_cast<QToolButton *>(widget)) {
        QAction *command = button->defaultAction();
        if (command && (!command->shortcut().isEmpty() || menuCommands.contains(command)))
            return false;
        // The toolbar's overflow shows the same keys.
        if (button->objectName() == QLatin1String("qt_toolbar_ext_button"))
            return false;
    }
    return true;
}

} // namespace AuditHelpers

using namespace AuditHelpers;

// Every window, menu, bar and dialog a user can open, read as a screen reader reads it over the
// AT-SPI bus: each control a user acts on has a role and a name, a menu lists its entries, the
// object the reader announces as focused is the one that holds Qt's focus after each Tab or
// arrow and each shortcut, and nothing needs the mouse. A new window is one more row.
class TestAccessibilityAudit : public QObject
{
    Q_OBJECT
public:
    static void initMain() { RealDesktop::prepareMain(); }

private slots:
    void initTestCase();
    void shortcutsMoveTheReportedFocus_data();
    void shortcutsMoveTheReportedFocus();
    void everyWindowReads_data();
    void everyWindowReads();
    void cleanupTestCase();

private:
    struct Row
    {
        std::function<void()> open; // may run the window's own event loop until it closes
        std::function<QWidget *()> opened; // the window once open, else null
        std::function<void(QWidget *)> close;
    };
    void buildRows();
    // The rows of buildRows, a few windows at a time.
    void addMainWindowRows();
    void addPageRows();
    void addUpdateRows();
    void addMessageRows();
    void addBrowserAndExitRows();
    QStringList audit(const QString &name, QWidget *window, const QStringList &entries);
    QStringList walkFocus(QWidget *window, const QString &key, int steps);
    QStringList walkEveryControl(QWidget *shown);
    bool readerAgrees(QWidget *shown = nullptr);
    QString focusOutOfTree(const QList<ScreenReader::Object> &objects, QWidget *shown = nullptr);
    bool settle();
    void press(const QString &keys);
    MDI *window() const { return m_program->mainWindow(); }
    template <typename T> T *control(const char *name) const
    {
        return window()->findChild<T *>(QLatin1String(name));
    }
    void openMenu(const QString &title);
    QList<QAction *> menuCommands() const;

    LocalHttpServer m_server;
    AuditFileChooser m_files;
    std::unique_ptr<RunningProgram> m_program;
    std::unique_ptr<ScreenReader> m_reader;
    std::map<QString, Row> m_rows;
    QTemporaryDir m_updates;
};
