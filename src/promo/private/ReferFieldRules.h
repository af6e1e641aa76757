#pragma once
#include <QObject>
#include <QString>

#include <vector>

class Prompter;
class QWidget;

// The rules the refer-a-friend fields follow while the user types: each shows its placeholder
// while empty, clears it on entering and puts it back on leaving empty, and an e-mail field
// refuses a space with a message. The fields are line or multi-line text boxes.
class ReferFieldRules : public QObject
{
    Q_OBJECT
public:
    // prompter shows the refusal; it must outlive the rules.
    explicit ReferFieldRules(Prompter &prompter, QObject *parent = nullptr);

    // field follows the rules from now on; placeholder is the text it shows while empty.
    void follow(QWidget *field, const QString &placeholder, bool email);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Field
    {
        QWidget *widget;
        QString placeholder;
        bool email;
    };

    const Field *fieldOf(const QObject *widget) const;
    void field_GotFocus(const Field &field);
    void field_LostFocus(const Field &field);
    // True when the typed text was refused.
    bool emailField_KeyPress(const Field &field, const QString &typed);

    Prompter &m_prompter;
    std::vector<Field> m_fields;
};
