#include "DialogFileChooser.h"
#include <QFileDialog>

QString DialogFileChooser::chooseFileToOpen()
{
    return QFileDialog::getOpenFileName(m_parent);
}
