#pragma once
#include <QObject>
#include <QString>

class DictionaryCache;
class FileChooser;
class Prompter;
class QAbstractItemView;
class QWidget;
class frmPB;

// File > Update: asks for an update file, merges it into the dictionary, shows the progress
// window and tells the user how it went. The keyword list is repainted, not refilled.
class UpdateCommand : public QObject
{
    Q_OBJECT
public:
    UpdateCommand(FileChooser &files, Prompter &prompter, DictionaryCache &dictionary,
        QString dictionaryPath, QAbstractItemView *lstKeys, QWidget *txtKey, QWidget *window,
        QObject *parent = nullptr);

    void mnuUpdate_Click();

signals:
    // The progress window is about to run modally.
    void progressWindowOpening(frmPB *window);

private:
    FileChooser &m_files;
    Prompter &m_prompter;
    DictionaryCache &m_dictionary;
    QString m_dictionaryPath;
    QAbstractItemView *m_lstKeys;
    QWidget *m_txtKey;
    QWidget *m_window;
};
