#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, named by their resource numbers (CommandIds.h). Everything but the
// splash pictures is drawn in code on first use and kept for the rest of the run; those two
// are drawn by the same code ahead of time (orbistav_update_splash) and stored as raw pixel
// rows. GUI thread only, but for ResourceImage.
// Unknown ids give a null pixmap or icon.

// IDB_LIST_UNUSED, IDB_LIST_DOCUMENT, IDB_LIST_FOLDER: 16 x 16 with transparency;
// IDB_SPLASH: 421 x 261, opaque; IDB_SPLASH_VERSION: 145 x 16, opaque, drawn to lie on the
// splash picture at (271, 40).
QPixmap ResourceBitmap(int resourceId);

// The splash pictures (IDB_SPLASH, IDB_SPLASH_VERSION), shown from where they are stored;
// callable from any thread. A null image for other ids.
QImage ResourceImage(int resourceId);

// Main toolbar buttons, 22 x 22: ID_FILE_OPEN, ID_EXTRACT_DEFAULT, ID_EXTRACT_TO_DIR,
// ID_EXTRACT_FS_DATA, ID_OPTIONS, ID_BLANK. Normal and Disabled modes, 1x and 2x.
QIcon MainToolbarIcon(int commandId);

// Preview toolbar buttons, 16 x 15: ID_PLAY_PREVIEW, ID_STOP_PREVIEW, ID_OPEN_SELECTED,
// ID_BLANK. Normal and Disabled modes, 1x and 2x.
QIcon PreviewToolbarIcon(int commandId);

// The extension button of a toolbar or menu bar, 8 x 8, drawn when first shown.
QIcon ToolbarExtensionIcon(Qt::Orientation orientation);

// The program icon at 16, 22, 24, 32, 48, 64, 128 and 256 pixels.
QIcon ApplicationIcon();
