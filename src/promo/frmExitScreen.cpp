#include "frmExitScreen.h"

#include <QCloseEvent>

frmExitScreen::frmExitScreen(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Somnilex v1.85"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmExitScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit Form_Unload();
}
