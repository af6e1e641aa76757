#include "QtPrompter.h"
#include <QMessageBox>

QtPrompter::QtPrompter(QString title) : m_title(std::move(title)) { }

QString QtPrompter::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtPrompter::information(const QString &text)
{
    QMessageBox::information(m_parent, m_title, displayText(text));
}

void QtPrompter::error(const QString &text)
{
    QMessageBox::critical(m_parent, m_title, displayText(text));
}

bool QtPrompter::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Information, m_title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    return box.exec() == QMessageBox::Yes;
}

std::unique_ptr<Prompter> QtPrompter::ownedBy(QWidget *window)
{
    auto owned = std::make_unique<QtPrompter>(m_title);
    owned->setParentWindow(window);
    return owned;
}
