#pragma once
#include <QWidget>

// The screen left on the desktop when the main window has closed; closing it ends the program.
class frmExitScreen : public QWidget
{
    Q_OBJECT
public:
    explicit frmExitScreen(QWidget *parent = nullptr);

signals:
    // The screen is closing, by its button or its frame.
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent *event) override;
};
