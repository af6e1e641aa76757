#include "Prompter.h"

namespace {

class HandOn : public Prompter
{
public:
    explicit HandOn(Prompter &to)
        : m_to(to)
    { }
    void information(const QString &text) override { m_to.information(text); }
    void error(const QString &text) override { m_to.error(text); }
    bool askYesNo(const QString &text) override { return m_to.askYesNo(text); }
    std::unique_ptr<Prompter> ownedBy(QWidget *window) override { return m_to.ownedBy(window); }

private:
    Prompter &m_to;
};

} // namespace

std::unique_ptr<Prompter> Prompter::ownedBy(QWidget *)
{
    return std::make_unique<HandOn>(*this);
}
