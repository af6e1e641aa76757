#pragma once
#include "LinkOpener.h"

// Opens addresses with QDesktopServices; the result is ignored.
class DesktopLinkOpener : public LinkOpener
{
public:
    void open(const QString &address) override;
};
