#include "ColourScheme.h"

#include <QByteArray>
#include <QPalette>

namespace {

const char EngineFlags[] = "QTWEBENGINE_CHROMIUM_FLAGS";
// Blink's preferred scheme: 0 is dark, 1 is light.
const QByteArray DarkSwitch = "--blink-settings=preferredColorScheme=0";

} // namespace

namespace ColourScheme {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness()
        < palette.color(QPalette::WindowText).lightness();
}

void prepareEngine(const QPalette &palette)
{
    if (!isDark(palette))
        return;
    QByteArray flags = qgetenv(EngineFlags);
    if (flags.contains("preferredColorScheme") || flags.contains("--force-dark-mode"))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    qputenv(EngineFlags, flags + DarkSwitch);
}

} // namespace ColourScheme
