#pragma once
#include <QObject>
#include <QString>

class DictionaryCache;
class FileChooser;
class Prompter;
class QWidget;
class frmPB;

// File > Update: asks for an update file, merges it into the dictionary, shows the progress
// window over window and tells the user how it went. The keyword list is repainted, not refilled:
// whoever shows it does that on merged().
class UpdateCommand : public QObject
{
    Q_OBJECT
public:
    UpdateCommand(FileChooser &files, Prompter &prompter, DictionaryCache &dictionary,
        QString dictionaryPath, QWidget *window, QObject *parent = nullptr);

    void mnuUpdate_Click();

signals:
    // The progress window is about to run modally.
    void progressWindowOpening(frmPB *window);
    // The update's rows went in, and the progress window has closed; the user is told next.
    void merged();
    // The user has been told how a chosen file went; the search box takes the focus back.
    void finished();

private:
    FileChooser &m_files;
    Prompter &m_prompter;
    DictionaryCache &m_dictionary;
    QString m_dictionaryPath;
    QWidget *m_window;
};
