#pragma once
// The exit screen on fake services, shown afresh for every case, and the ways its suites reach
// and fill its controls: by their object names, as the program names them.
#include "AppConfig.h"
#include "Fakes.h"
#include "LinkLabel.h"
#include "frmExitScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace ExitScreenTexts {

inline const QString Main = QStringLiteral("https://main.test");

inline QString textOf(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->text();
    return qobject_cast<QPlainTextEdit *>(field)->toPlainText();
}

inline void setTextOf(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else
        qobject_cast<QPlainTextEdit *>(field)->setPlainText(text);
}

inline void sendFocus(QWidget *field, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

} // namespace ExitScreenTexts

class ExitScreenFixture
{
protected:
    void setUp()
    {
        m_fakes = std::make_unique<FakeServices>();
        m_config = AppConfig::builtIn(QDir::tempPath(), "somnilex");
        m_config.MainSiteAddress = ExitScreenTexts::Main;
        m_screen = std::make_unique<frmExitScreen>(
            m_config, m_fakes->prompter, m_fakes->links, m_fakes->random);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
    }

    void tearDown()
    {
        m_screen.reset();
        m_fakes.reset();
    }

    template <typename Control> Control *child(const char *name) const
    {
        return m_screen->findChild<Control *>(QLatin1String(name));
    }
    QWidget *field(const QString &name) const { return m_screen->findChild<QWidget *>(name); }

    // name, e-mail, message, friend's name, friend's e-mail
    void fill(const QStringList &texts)
    {
        const char *names[]
            = { "txtName", "txtEmail", "txtMessage", "txtFriendName", "txtFriendEmail" };
        for (int i = 0; i < 5; ++i)
            ExitScreenTexts::setTextOf(child<QWidget>(names[i]), texts.at(i));
    }

    std::unique_ptr<FakeServices> m_fakes;
    AppConfig m_config;
    std::unique_ptr<frmExitScreen> m_screen;
};
