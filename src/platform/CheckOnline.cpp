#include "CheckOnline.h"

#include "AppState.h"
#include "ConnectionProbe.h"

namespace modHelp {

void CheckOnline(ConnectionProbe &probe, AppState &state)
{
    // Whatever IsOnline held before is replaced: the panes only ever trust a fresh 1.
    state.IsOnline = probe.isOnline() ? 1 : 0;
}

} // namespace modHelp
