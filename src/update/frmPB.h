#pragma once
#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

// The short modal window shown after a dictionary update: its bar fills in ProgressSteps ticks
// of Timer1 and the window closes itself on the tick after the bar is full. Its label, bar and
// timer carry their names as object names.
class frmPB : public QDialog
{
    Q_OBJECT
public:
    explicit frmPB(QWidget *parent = nullptr);

    // Sets the bar's range and starts the timer; the constructor runs it.
    void Form_Load();
    // One tick of Timer1. Public so that tests drive the window tick by tick.
    void Timer1_Timer();

    void done(int result) override;

    qint16 ProgressSteps = 0;
    qint16 ProgressCounter = 0;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    QProgressBar *PB = nullptr;
    QTimer *Timer1 = nullptr;
};
