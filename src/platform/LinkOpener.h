#pragma once
#include <QString>

// Hands an address to the user's default browser, fire and forget.
class LinkOpener
{
public:
    virtual ~LinkOpener() = default;
    virtual void open(const QString &address) = 0;
};
