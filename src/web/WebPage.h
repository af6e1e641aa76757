#pragma once
#include <QUrl>
#include <QWebEnginePage>

class WebProfile;

// A page as both panes hold it: it admits only what the navigation policy allows, opens no
// windows, grants no permission, picks no files, and turns the page's dialogs into messages
// that never wait for the user.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // Messages a page may show per load; the rest are dropped, so that a page calling alert()
    // in a loop is heard a few times and then no more.
    static constexpr int MessagesPerLoad = 3;

    WebPage(WebProfile &profile, QObject *parent = nullptr);

    // Offline, a web address is not loaded: networkNeeded() is emitted instead.
    void setOffline(bool offline) { m_offline = offline; }
    bool isOffline() const { return m_offline; }

    // Lets the program put replacement, the page shown for a failed load, in place of the
    // current page once, whatever that page is.
    void allowReplacement(const QUrl &replacement) { m_replacement = replacement; }

signals:
    // The page's alert, confirm or prompt text, within the page's allowance.
    void message(const QString &text);
    // A new page is on its way in place of the current one: the current one's messages go.
    void loadAdmitted(const QUrl &address);
    // A page asked for address, which the policy does not allow; nothing was loaded.
    void navigationRefused(const QUrl &address);
    // A web address was asked for while offline; nothing was loaded.
    void networkNeeded(const QUrl &address);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &text) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &text) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &text,
        const QString &defaultValue, QString *result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
        const QStringList &acceptedMimeTypes) override;

private:
    void deny(const QUrl &securityOrigin, Feature feature);
    void pass(const QString &text);
    void admit(const QUrl &address);

    bool m_offline = false;
    QUrl m_replacement;
    // The address of the last whole-page navigation let through: a redirect comes from there.
    QUrl m_lastAdmitted;
    int m_messages = 0;
};
