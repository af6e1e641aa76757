#pragma once

// Asks the system whether the computer has an Internet connection.
class ConnectionProbe
{
public:
    virtual ~ConnectionProbe() = default;
    virtual bool isOnline() = 0;
};
