#pragma once
#include "FileChooser.h"
#include <QPointer>
#include <QWidget>

// QFileDialog with no filter, no title and no starting folder of our own.
class DialogFileChooser : public FileChooser
{
public:
    void setParentWindow(QWidget *window) { m_parent = window; }
    QString chooseFileToOpen() override;

private:
    QPointer<QWidget> m_parent;
};
