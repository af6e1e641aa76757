#pragma once
#include <QString>

// The dictionary's one table as every reader and writer names it.
namespace DreamsTable {

// The Names value of every row the program writes; an update file's rows must carry it too.
inline const QString Marker = QStringLiteral("astro");

inline const QString Table = QStringLiteral("dreams");
// The one query the program runs: every reader of the table shares the rows it read.
inline const QString SelectAllDreams = QStringLiteral("Select * from dreams");
inline const QString KeyColumn = QStringLiteral("Key");
inline const QString LinkColumn = QStringLiteral("Link");
inline const QString NamesColumn = QStringLiteral("Names");

} // namespace DreamsTable
