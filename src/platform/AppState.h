#pragma once
#include <QString>
#include <QtGlobal>

// The little state that several windows share for the whole run.
struct AppState
{
    // A term or an address on its way from the lookup handlers to the meaning pane.
    QString CurrentTerm;
    // 1 when the system reported an Internet connection as the main window loaded; readers test
    // for exactly 1.
    qint32 IsOnline = 0;
};
