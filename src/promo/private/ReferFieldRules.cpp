#include "ReferFieldRules.h"

#include "Prompter.h"
#include "ReferAFriend.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

QString textOf(const QWidget *field)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(field))
        return box->toPlainText();
    return {};
}

void setTextOf(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *box = qobject_cast<QPlainTextEdit *>(field))
        box->setPlainText(text);
}

} // namespace

ReferFieldRules::ReferFieldRules(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
{ }

void ReferFieldRules::follow(QWidget *field, const QString &placeholder, bool email)
{
    m_fields.push_back({ field, placeholder, email });
    field->installEventFilter(this);
}

const ReferFieldRules::Field *ReferFieldRules::fieldOf(const QObject *widget) const
{
    for (const Field &field : m_fields) {
        if (field.widget == widget)
            return &field;
    }
    return nullptr;
}

void ReferFieldRules::field_GotFocus(const Field &field)
{
    if (ReferAFriend::trimSpaces(textOf(field.widget)) == field.placeholder)
        setTextOf(field.widget, QString());
}

void ReferFieldRules::field_LostFocus(const Field &field)
{
    if (ReferAFriend::trimSpaces(textOf(field.widget)).isEmpty())
        setTextOf(field.widget, field.placeholder);
}

bool ReferFieldRules::emailField_KeyPress(const Field &field, const QString &typed)
{
    if (!field.email || typed != QLatin1String(" "))
        return false;
    m_prompter.error(QStringLiteral("Email Address Cannot Contain Space"));
    field.widget->setFocus();
    return true;
}

bool ReferFieldRules::eventFilter(QObject *watched, QEvent *event)
{
    const Field *field = fieldOf(watched);
    if (!field)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        field_GotFocus(*field);
        break;
    case QEvent::FocusOut:
        field_LostFocus(*field);
        break;
    case QEvent::KeyPress:
        if (emailField_KeyPress(*field, static_cast<QKeyEvent *>(event)->text()))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
