#pragma once
#include "DreamRows.h"

#include <QString>

#include <memory>

class DictionaryCache;

// The dreams rows of the dictionary file at path, read straight from the rows the cache holds
// for it. The file is opened when the rows are first asked for, so a command that needs no
// dictionary never opens it; each view reads the file afresh, as every handler does.
std::unique_ptr<DreamRows> dreamRowsAt(DictionaryCache &dictionary, const QString &path);
