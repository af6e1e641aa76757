#pragma once
#include <QString>

// How the program trims what the user typed: spaces at both ends, and only spaces (a tab or a
// line break is part of the text).
namespace TextRules {

QString trimSpaces(const QString &text);

} // namespace TextRules
