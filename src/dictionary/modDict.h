#pragma once
#include <QString>

namespace modDict {

// The term with every "*" removed; every other character kept in its order.
QString StripWildcards(const QString &term);

} // namespace modDict
