#pragma once

#include <QString>

#include "dialogs.h"

// The open-file dialog of the source's "&Browse": the same fresh request on
// every press, starting in the root of the file system.
OpenFileRequest SourceFileRequest();

// The title of the destination's folder browser.
QString FolderBrowserTitle();

// What the source field receives for a chosen file: the path without the
// blanks at either end.
QString SourceFieldText(const QString& chosen);

// What the destination field receives for a chosen folder: the path without
// trailing separators, except that the root itself stays "/".
QString DestinationFieldText(const QString& chosen);
