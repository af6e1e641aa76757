#pragma once
#include "ConnectionProbe.h"

// Asks QNetworkInformation for reachability; where no backend loads, or it cannot tell,
// any up and running non-loopback interface with an address counts as a connection.
class NetworkConnectionProbe : public ConnectionProbe
{
public:
    bool isOnline() override;
    static bool anyInterfaceUp();
};
