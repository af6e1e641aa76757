#include "SubWindowSize.h"

#include "Twips.h"

#include <QMdiSubWindow>

namespace SubWindowSize {

QWidget *frameOf(QWidget *pane)
{
    return qobject_cast<QMdiSubWindow *>(pane->parentWidget()) ? pane->parentWidget() : pane;
}

void resize(QWidget *pane, int width, int height)
{
    QWidget *outer = frameOf(pane);
    QSize size = outer->size();
    if (width >= 0)
        size.setWidth(Twips::toPixels(width));
    if (height >= 0)
        size.setHeight(Twips::toPixels(height));
    outer->resize(size);
    pane->resize(size);
}

} // namespace SubWindowSize
