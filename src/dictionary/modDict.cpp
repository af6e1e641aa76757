#include "modDict.h"

namespace modDict {

QString StripWildcards(const QString &term)
{
    QString stripped = term;
    stripped.remove(QLatin1Char('*'));
    return stripped;
}

} // namespace modDict
