// What the lookup bench's parts share: the window and the stand-ins its handlers talk to, and
// the timing of a step.
#pragma once

#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LookupController.h"
#include "PaneHost.h"
#include "Prompter.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Runs of each handler; the largest dictionary has fewer, each cold run there rereading a
// million rows.
constexpr int Runs = 9;
constexpr int LargeRuns = 5;
constexpr int LargeColdRuns = 3;
constexpr qint64 Large = 1000000;

class SilentPrompter : public Prompter
{
public:
    void information(const QString &) override { ++shown; }
    void error(const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        ++failures;
    }
    bool askYesNo(const QString &) override { return false; }
    int shown = 0;
    int failures = 0;
};

class CountingPanes : public PaneHost
{
public:
    void navigateMeaningPane(const QString &address) override
    {
        ++navigations;
        last = address;
    }
    void showMeaningPane() override { }
    void closeBrowser() override { }
    void openBrowser(const QString &) override { }
    void hideBrowser() override { }
    int navigations = 0;
    QString last;
};

struct Figures
{
    double median = 0;
    double max = 0;
};

// Runs prepare untimed, then times step, runs times; milliseconds.
inline Figures measure(
    int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        step();
        QCoreApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return { times[times.size() / 2], times.back() };
}

// The process's own high-water mark of resident memory (getrusage would report a parent's
// peak to the child it started).
inline double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Says loudly where a handler's list and its floor's differ.
inline bool same(
    const char *what, qint64 count, const QStringList &handler, const QStringList &floor)
{
    if (handler == floor)
        return true;
    qsizetype at = 0;
    while (at < handler.size() && at < floor.size() && handler[at] == floor[at])
        ++at;
    std::printf("MISMATCH %s at %lld keywords: the handler lists %lld keys, the floor %lld; "
                "first difference at item %lld\n",
        what, count, qint64(handler.size()), qint64(floor.size()), qint64(at));
    std::fflush(stdout);
    return false;
}

// Gives the file another modification time, which tells the store its copy is stale.
inline void touch(const QString &path)
{
    static qint64 offset = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(
            QDateTime::currentDateTime().addSecs(++offset), QFileDevice::FileModificationTime))
        std::fprintf(stderr, "cannot touch %s\n", qPrintable(path));
}

// The main window's lookup controls, in a plain window.
struct LookupWindow
{
    QWidget window;
    QLineEdit *txtKey = new QLineEdit;
    KeywordListView *lstKeys = new KeywordListView;
    KeywordListModel *keywords = new KeywordListModel(&window);
    QRadioButton *optExact = new QRadioButton(QStringLiteral("Exact Search"));
    QRadioButton *optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
    QRadioButton *optGoogle = new QRadioButton(QStringLiteral("Google Search"));
    QPushButton *cmdSearch = new QPushButton(QStringLiteral("&Search"));
    QPushButton *cmdDisplay = new QPushButton(QStringLiteral("&Display"));

    LookupWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        auto *modes = new QButtonGroup(&window);
        for (QRadioButton *option : { optExact, optWildCard, optGoogle }) {
            modes->addButton(option);
            layout->addWidget(option);
        }
        optExact->setChecked(true);
        layout->addWidget(txtKey);
        layout->addWidget(cmdSearch);
        lstKeys->setModel(keywords);
        layout->addWidget(lstKeys, 1);
        layout->addWidget(cmdDisplay);
        window.resize(240, 600);
        window.show();
    }
    LookupControls controls() const
    {
        return { txtKey, lstKeys, keywords, optExact, optWildCard, optGoogle, cmdSearch,
            cmdDisplay };
    }
};
