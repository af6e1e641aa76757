#pragma once
#include "TextRules.h"
#include <QString>

// The refer-a-friend form's rules, free of widgets: trimming, the checks in their order, and
// the address that carries the entries to the maker's site.
namespace ReferAFriend {

// The five entries as typed, or their placeholders when the user typed nothing.
struct Entries
{
    QString name;
    QString email;
    QString message;
    QString friendName;
    QString friendEmail;
};

// The placeholders the fields show while they hold no entry of the user's.
extern const QString NamePlaceholder;
extern const QString EmailPlaceholder;
extern const QString MessagePlaceholder;
extern const QString FriendNamePlaceholder;
extern const QString FriendEmailPlaceholder;

using TextRules::trimSpaces;

// The message for the first check the entries fail, or the empty text when they pass.
QString firstProblem(const Entries &entries);

// The address that hands the trimmed entries to the maker's site. Each value is
// percent-encoded, so that an "&", "=", "#" or space in it stays inside its own field.
QString address(const QString &mainSiteAddress, const Entries &entries);

} // namespace ReferAFriend
