#pragma once

class ConnectionProbe;
struct AppState;

namespace modHelp {

// Asks the system once whether there is an Internet connection and keeps the answer in
// IsOnline: 1 for yes, 0 for no. The main window's load calls it before anything else.
void CheckOnline(ConnectionProbe &probe, AppState &state);

} // namespace modHelp
