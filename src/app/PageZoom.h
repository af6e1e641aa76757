#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class QWebEngineView;
class SettingsStore;

// The one zoom level of the pages, in the steps a browser takes, kept in the settings store so
// that the next run starts at it. Every view handed to follow() shows its pages at that level.
class PageZoom : public QObject
{
    Q_OBJECT
public:
    // Reads the stored level; a missing or unreadable one is 100 %.
    PageZoom(SettingsStore &settings, QString application, QObject *parent = nullptr);

    // The level in per cent.
    int percent() const { return m_percent; }
    void zoomIn();
    void zoomOut();
    void reset();
    void follow(QWebEngineView *view);

    static constexpr int Normal = 100;

signals:
    void changed(int percent);

private:
    void setPercent(int percent);

    SettingsStore &m_settings;
    QString m_application;
    int m_percent = Normal;
    QVector<QPointer<QWebEngineView>> m_views;
};
