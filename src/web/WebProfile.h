#pragma once
#include "RequestFilter.h"

#include <QWebEngineProfile>

// The one browser profile behind both panes, hardened because every page is untrusted: kept in
// memory only, no access to files from pages, no downloads, no links handed to other programs,
// and the request filter in front of every fetch. Built once per run and handed to each view.
class WebProfile : public QWebEngineProfile
{
    Q_OBJECT
public:
    explicit WebProfile(QObject *parent = nullptr);
    ~WebProfile() override;

private:
    RequestFilter m_filter;
};
