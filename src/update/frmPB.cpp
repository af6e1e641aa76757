#include "frmPB.h"

#include "Twips.h"
#include "Version.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

frmPB::frmPB(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setWindowTitle(Version::caption());
    setModal(true);
    setFixedSize(Twips::toPixels(5925), Twips::toPixels(1305));

    Label1 = new QLabel(tr("Please wait while Dictionary is Updating ...."), this);
    Label1->setGeometry(TwipsRect { 1110, 240, 3690, 195 }.toPixels());
    Label1->adjustSize();

    PB = new QProgressBar(this);
    PB->setGeometry(TwipsRect { 195, 720, 5520, 300 }.toPixels());
    PB->setAccessibleName(tr("Dictionary update progress"));
    PB->setTextVisible(false);

    Timer1 = new QTimer(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PB->setObjectName(QStringLiteral("PB"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmPB::Timer1_Timer);

    Form_Load();
}

void frmPB::Form_Load()
{
    ProgressSteps = 50;
    PB->setMinimum(0);
    PB->setMaximum(ProgressSteps);
    PB->setValue(0);
    Timer1->setInterval(100);
    Timer1->start();
}

void frmPB::Timer1_Timer()
{
    if (ProgressCounter == ProgressSteps) {
        done(Accepted);
        return;
    }
    ++ProgressCounter;
    PB->setValue(ProgressCounter);
}

void frmPB::done(int result)
{
    // However the window goes, by its last tick or its close box, the timer ends with it.
    Timer1->stop();
    ProgressCounter = 0;
    QDialog::done(result);
}

void frmPB::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
