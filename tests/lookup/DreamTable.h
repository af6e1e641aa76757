#pragma once
// The dictionary that the lookup suites share, and the texts, lists and pane calls that its
// lookups are expected to give.
#include <QString>
#include <QStringList>

#include <vector>

namespace DreamTable {

struct Row
{
    QString key;
    QString link;
};

inline QString link(const QString &slug)
{
    return QStringLiteral("https://dreams.test/") + slug + QStringLiteral(".html");
}

// The table, in its order; the comments give each row's index in the full list.
inline std::vector<Row> rows()
{
    return {
        { "Snake", link("snake") }, // 0
        { "apple", link("apple") }, // 1
        { "SNAKE BITE", link("snake-bite") }, // 2
        { "Rattlesnake", link("rattlesnake") }, // 3
        { "", link("blank") }, // 4
        { "snakeskin", link("snakeskin") }, // 5
        { "Cat", link("cat-first") }, // 6
        { "Cat", link("cat-second") }, // 7
        { "big cat", link("big-cat") }, // 8
        { "Échelle", link("echelle") }, // 9
        { QChar(0x130) + QStringLiteral("stanbul Bridge"), link("istanbul") }, // 10
        { "Sea Snake ", link("sea-snake") }, // 11
        { "SNAKE", link("snake-capitals") }, // 12
        { " ", link("space") }, // 13
    };
}

inline QStringList fullList()
{
    QStringList keys;
    for (const Row &row : rows())
        keys << row.key;
    return keys;
}

inline QStringList nonEmptyKeys()
{
    QStringList keys = fullList();
    keys.removeAll(QString());
    return keys;
}

inline const QString NotFound = QStringLiteral("Keyword not found - Please search in google\r"
                                               "Or write to us so that we can add the term in our "
                                               "dictionary");
inline const QString EmptyTerm = QStringLiteral("Please Enter Search Term");
// What CurrentTerm holds before each case, to tell "left alone" from "emptied".
inline const QString Untouched = QStringLiteral("(left alone)");

// What the list shows before a case, beyond the full list: one keyword, as after a search;
// after a wildcard search for a space, where the spaces keyword stands at another row than in
// the full list; and nothing, as after a search that found nothing.
enum class ListState { Full, Narrowed, NarrowedToSpace, Empty };
inline const QStringList Narrowed = { QStringLiteral("apple") };
inline const QStringList NarrowedToSpace = { " ", "SNAKE BITE", "Sea Snake " };

inline QStringList listed(ListState state)
{
    switch (state) {
    case ListState::Narrowed:
        return Narrowed;
    case ListState::NarrowedToSpace:
        return NarrowedToSpace;
    case ListState::Empty:
        return {};
    case ListState::Full:
        break;
    }
    return fullList();
}

inline const QStringList SnakePrefixed = { "Snake", "SNAKE BITE", "snakeskin", "SNAKE" };
inline const QStringList ShowPane = { "show", "hideBrowser" };
inline const QStringList WebSearch = { "closeBrowser", "openBrowser" };

inline QStringList displayed(const QString &address)
{
    return { QStringLiteral("navigate ") + address, "show", "hideBrowser" };
}

} // namespace DreamTable
