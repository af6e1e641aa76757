#include "PageZoom.h"

#include "SettingsCodec.h"
#include "SettingsStore.h"

#include <QWebEngineView>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString Section = QStringLiteral("Settings");
const QString ZoomKey = QStringLiteral("Zoom");

// The engine's own bounds are 25 % and 500 %.
constexpr int Steps[]
    = { 25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500 };

} // namespace

PageZoom::PageZoom(SettingsStore &settings, QString application, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_application(std::move(application))
{
    bool ok = false;
    const int stored
        = DecodeSetting(m_settings.get(m_application, Section, EncodeSetting(ZoomKey))).toInt(&ok);
    // Only a level this program could have stored; anything else is no level at all.
    if (ok && std::find(std::begin(Steps), std::end(Steps), stored) != std::end(Steps))
        m_percent = stored;
}

void PageZoom::zoomIn()
{
    const auto *next = std::upper_bound(std::begin(Steps), std::end(Steps), m_percent);
    if (next != std::end(Steps))
        setPercent(*next);
}

void PageZoom::zoomOut()
{
    const auto *at = std::lower_bound(std::begin(Steps), std::end(Steps), m_percent);
    if (at != std::begin(Steps))
        setPercent(*std::prev(at));
}

void PageZoom::reset()
{
    setPercent(Normal);
}

void PageZoom::follow(QWebEngineView *view)
{
    m_views.removeAll(nullptr);
    m_views.append(view);
    view->setZoomFactor(m_percent / 100.0);
}

void PageZoom::setPercent(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_settings.save(
        m_application, Section, EncodeSetting(ZoomKey), EncodeSetting(QString::number(percent)));
    m_views.removeAll(nullptr);
    for (const QPointer<QWebEngineView> &view : std::as_const(m_views))
        view->setZoomFactor(percent / 100.0);
    emit changed(percent);
}
