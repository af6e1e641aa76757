#pragma once
#include <QString>

namespace modDB {

// A name written as an SQL identifier: in double quotes, with every double quote in it doubled,
// so that any text (a quote, a space, a keyword) stands for itself.
QString quoteIdentifier(const QString &name);

} // namespace modDB
