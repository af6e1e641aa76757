#pragma once
// Recording stand-ins for the outside world, for tests.
#include "Clock.h"
#include "ConnectionProbe.h"
#include "FileChooser.h"
#include "InstanceGuard.h"
#include "LinkOpener.h"
#include "Prompter.h"
#include "RandomSource.h"
#include "Services.h"
#include "SettingsStore.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>
#include <memory>

struct PromptRecord
{
    enum Kind { Information, Error, Question };
    Kind kind;
    QString text;
    // The window the box belonged to; null for the boxes of the main prompter.
    const QWidget *owner = nullptr;
};

class FakePrompter : public Prompter
{
public:
    void information(const QString &text) override { record(PromptRecord::Information, text); }
    void error(const QString &text) override { record(PromptRecord::Error, text); }
    bool askYesNo(const QString &text) override
    {
        record(PromptRecord::Question, text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    // Records into this prompter, with the owner.
    std::unique_ptr<Prompter> ownedBy(QWidget *window) override
    {
        return std::make_unique<Owned>(*this, window);
    }
    QStringList texts() const
    {
        QStringList all;
        for (const auto &p : prompts)
            all << p.text;
        return all;
    }
    QList<PromptRecord> prompts;
    QList<bool> answers; // Yes/No answers, first asked first
    std::function<void(const QString &)> onPrompt;

private:
    class Owned : public Prompter
    {
    public:
        Owned(FakePrompter &all, const QWidget *owner)
            : m_all(all)
            , m_owner(owner)
        { }
        void information(const QString &text) override
        {
            m_all.record(PromptRecord::Information, text, m_owner);
        }
        void error(const QString &text) override
        {
            m_all.record(PromptRecord::Error, text, m_owner);
        }
        bool askYesNo(const QString &text) override
        {
            m_all.record(PromptRecord::Question, text, m_owner);
            return m_all.answers.isEmpty() ? false : m_all.answers.takeFirst();
        }
        std::unique_ptr<Prompter> ownedBy(QWidget *window) override
        {
            return m_all.ownedBy(window);
        }

    private:
        FakePrompter &m_all;
        const QWidget *m_owner;
    };

    void record(PromptRecord::Kind kind, const QString &text, const QWidget *owner = nullptr)
    {
        prompts.append({ kind, text, owner });
        if (onPrompt)
            onPrompt(text);
    }
};

class FakeLinkOpener : public LinkOpener
{
public:
    void open(const QString &address) override { opened << address; }
    QStringList opened;
};

class FakeFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen() override
    {
        ++asked;
        return path;
    }
    QString path;
    int asked = 0;
};

class FakeClock : public Clock
{
public:
    QDate today() const override { return date; }
    QDate date = QDate(2026, 12, 8);
};

class FakeSettingsStore : public SettingsStore
{
public:
    QString get(
        const QString &application, const QString &section, const QString &key) const override
    {
        return values.value(application + '/' + section + '/' + key);
    }
    void save(const QString &application, const QString &section, const QString &key,
        const QString &value) override
    {
        ++saves;
        lastProblem = saveFailure;
        if (saveFailure.isEmpty())
            values.insert(application + '/' + section + '/' + key, value);
    }
    QString problem() const override { return lastProblem; }
    QMap<QString, QString> values;
    // Set: every save keeps nothing and leaves this as the problem.
    QString saveFailure;
    QString lastProblem;
    int saves = 0;
};

class FakeConnectionProbe : public ConnectionProbe
{
public:
    bool isOnline() override
    {
        ++asked;
        return online;
    }
    bool online = false;
    int asked = 0;
};

class FakeInstanceGuard : public InstanceGuard
{
public:
    Claim claim() override { return claimed; }
    Claim claimed;
};

// Draws what it is told to, and records the bounds asked for.
class FakeRandomSource : public RandomSource
{
public:
    quint32 bounded(quint32 bound) override
    {
        bounds << bound;
        return draw;
    }
    quint32 draw = 0;
    QList<quint32> bounds;
};

// A full set of fakes, ready to hand to the application.
struct FakeServices
{
    FakePrompter prompter;
    FakeLinkOpener links;
    FakeFileChooser files;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeConnectionProbe connection;
    FakeInstanceGuard instance;
    FakeRandomSource random;

    Services services()
    {
        return { &prompter, &links, &files, &clock, &settings, &connection, &instance, &random };
    }
};
