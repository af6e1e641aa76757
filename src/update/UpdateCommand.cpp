#include "UpdateCommand.h"

#include "DictionaryUpdate.h"
#include "FileChooser.h"
#include "Prompter.h"
#include "frmPB.h"

#include <QWidget>

namespace {

const QString NothingToUpdateMessage = QStringLiteral("There is nothing to Update");
const QString WrongFileMessage = QStringLiteral("This is the wrong file! Lookup online help");
const QString SuccessMessage
    = QStringLiteral("Somnilex Successfully Updated\rPlease restart dictionary ");

} // namespace

UpdateCommand::UpdateCommand(FileChooser &files, Prompter &prompter, DictionaryCache &dictionary,
    QString dictionaryPath, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_prompter(prompter)
    , m_dictionary(dictionary)
    , m_dictionaryPath(std::move(dictionaryPath))
    , m_window(window)
{ }

void UpdateCommand::mnuUpdate_Click()
{
    const QString updatePath = m_files.chooseFileToOpen();
    if (updatePath.isEmpty())
        return;

    const DictionaryUpdate::Result result
        = DictionaryUpdate(m_dictionary, updatePath, m_dictionaryPath).run();
    switch (result.outcome) {
    case DictionaryUpdate::Outcome::NothingToUpdate:
        m_prompter.information(NothingToUpdateMessage);
        break;
    case DictionaryUpdate::Outcome::WrongFile:
        m_prompter.information(result.refusedRow.isEmpty()
                ? WrongFileMessage
                : WrongFileMessage + QLatin1Char('\r') + result.refusedRow);
        break;
    case DictionaryUpdate::Outcome::Failed:
        m_prompter.error(QStringLiteral("The dictionary was not updated and is unchanged.\r%1")
                             .arg(result.error));
        break;
    case DictionaryUpdate::Outcome::Merged: {
        frmPB progress(m_window);
        emit progressWindowOpening(&progress);
        progress.exec();
        // The new rows show at the list's next refill; here it is only redrawn.
        emit merged();
        m_prompter.information(SuccessMessage);
        break;
    }
    }
    emit finished();
}
