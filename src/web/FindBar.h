#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QWebEngineFindTextResult;
class QWebEngineView;

// Finding text in the page a view shows: a strip over the foot of the page with the text to
// find, the next and previous keys and how many matches there are. Typing finds as it goes;
// Esc puts the strip away and gives the focus back to the page. It lies in the view's parent,
// beside the view, so that screen readers find it (see PageStrip). Its controls carry their
// names as object names.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWebEngineView *view);

    // Shows the strip with the focus in its field, the text there selected to type over.
    void open();
    // With nothing to find yet, they open the strip instead.
    void findNext();
    void findPrevious();
    void closeBar();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void find(bool backward);
    void showResult(const QWebEngineFindTextResult &result);
    void place();

    QWebEngineView *m_view;
    QLineEdit *txtFind = nullptr;
    QToolButton *cmdPrevious = nullptr;
    QToolButton *cmdNext = nullptr;
    QToolButton *cmdClose = nullptr;
    QLabel *lblMatches = nullptr;
};
