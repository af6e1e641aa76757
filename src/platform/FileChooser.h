#pragma once
#include <QString>

// The open-file dialog: returns the chosen path, or the empty text when the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString chooseFileToOpen() = 0;
};
