#pragma once
#include "SymbolSource.h"
#include <QString>

// Turns symbols into HTML pages through one template. The template's placeholders are
// {{KEY}}, {{MEANING}}, {{VARIATIONS}} and {{SEEALSO}}; every text is HTML-escaped.
namespace PageWriter {

QString page(const QString &pageTemplate, const Symbol &symbol);
// The address a row's Link holds for a symbol's page.
QString link(const Symbol &symbol);

} // namespace PageWriter
