#pragma once
// Start-up and shutdown of the program, without the window: the folders and delivered
// files, the settings and formats, the catalogue, the screen size, conversion of older
// catalogues and browse-only mode; at the end, both settings files.
#include "app/workspace/cataloguesession.h"

#include <QRect>
#include <QSize>
#include <QStringList>

namespace kv {

// arguments: the command line after the program name ("/BROWSE" selects browse-only).
// False when no catalogue could be made to open: the program then ends without a word.
bool startProgram(Workspace &workspace, CatalogueSession &catalogues, const QStringList &arguments,
                  QSize primaryScreen);

// Search off, the main window's place recorded, browse-only's "Field Editing" put back,
// both settings files written (when the program had started).
void closeProgram(Workspace &workspace, CatalogueSession &catalogues, const QRect &mainWindow, bool started);

} // namespace kv
