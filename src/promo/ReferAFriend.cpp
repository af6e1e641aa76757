#include "ReferAFriend.h"
#include "TextRules.h"

#include <QUrl>

namespace ReferAFriend {

const QString NamePlaceholder = QStringLiteral("Your Name");
const QString EmailPlaceholder = QStringLiteral("Your Email Address");
const QString MessagePlaceholder = QStringLiteral("Your Message");
const QString FriendNamePlaceholder = QStringLiteral("Friend's Name");
const QString FriendEmailPlaceholder = QStringLiteral("Friend's Email Address");

QString firstProblem(const Entries &entries)
{
    const QString email = TextRules::trimSpaces(entries.email);
    const QString friendEmail = TextRules::trimSpaces(entries.friendEmail);
    if (email == friendEmail)
        return QStringLiteral("Please Enter Distinct Email Addresses");
    const QLatin1Char at('@');
    const QLatin1Char dot('.');
    if (!email.contains(at) || !friendEmail.contains(at))
        return QStringLiteral("Please Enter Proper Email Address");
    if (!email.contains(dot) || !friendEmail.contains(dot))
        return QStringLiteral("Please Enter Proper Email Address");

    struct Field
    {
        const QString &text;
        const QString &placeholder;
        const char *message;
    };
    const Field fields[] = {
        { entries.name, NamePlaceholder, "Please Enter Your Name" },
        { entries.email, EmailPlaceholder, "Please Enter Your Email" },
        { entries.message, MessagePlaceholder, "Please Enter Your Message" },
        { entries.friendName, FriendNamePlaceholder, "Please Enter Your Friend's Name" },
        { entries.friendEmail, FriendEmailPlaceholder, "Please Enter Your Friend's Email" },
    };
    for (const Field &field : fields) {
        const QString text = TextRules::trimSpaces(field.text);
        if (text.isEmpty() || text == field.placeholder)
            return QString::fromUtf8(field.message);
    }
    return {};
}

QString address(const QString &mainSiteAddress, const Entries &entries)
{
    const auto value = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(TextRules::trimSpaces(text)));
    };
    return mainSiteAddress + QStringLiteral("/qvsw-refer-a-friend.php?taf1=") + value(entries.name)
        + QStringLiteral("&taf2=") + value(entries.email) + QStringLiteral("&taf3=")
        + value(entries.message) + QStringLiteral("&taf4=") + value(entries.friendName)
        + QStringLiteral("&taf5=") + value(entries.friendEmail) + QStringLiteral("&taf6=")
        + mainSiteAddress + QStringLiteral("/somnilex/");
}

} // namespace ReferAFriend
