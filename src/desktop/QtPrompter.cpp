#include "QtPrompter.h"
#include <QMessageBox>

QtPrompter::QtPrompter(QString title)
    : m_title(std::move(title))
{ }

namespace {

// Messages quote paths and the user's own input: taken as rich text, "<" or "&" in them would
// be read as markup and the text shown garbled or not at all.
int showBox(QMessageBox::Icon icon, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons, QWidget *parent)
{
    QMessageBox box(icon, title, QtPrompter::displayText(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

QString QtPrompter::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtPrompter::information(const QString &text)
{
    showBox(QMessageBox::Information, m_title, text, QMessageBox::Ok, m_parent);
}

void QtPrompter::error(const QString &text)
{
    showBox(QMessageBox::Critical, m_title, text, QMessageBox::Ok, m_parent);
}

bool QtPrompter::askYesNo(const QString &text)
{
    return showBox(QMessageBox::Information, m_title, text, QMessageBox::Yes | QMessageBox::No,
               m_parent)
        == QMessageBox::Yes;
}

std::unique_ptr<Prompter> QtPrompter::ownedBy(QWidget *window)
{
    auto owned = std::make_unique<QtPrompter>(m_title);
    owned->setParentWindow(window);
    return owned;
}
