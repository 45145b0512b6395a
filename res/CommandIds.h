#pragma once

// Command ids: the resource numbers of the menu, accelerators and toolbars.
enum CommandId : int
{
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_MRU_FIRST = 57616,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_STOP_PREVIEW = 1001,
    ID_OPEN_SELECTED = 32773,
    ID_EXTRACT_DEFAULT = 32774,
    ID_EXTRACT_TO_DIR = 32775,
    ID_EXTRACT_FS_DATA = 32776,
    ID_SELECT_ALL = 32779,
    ID_PLAY_PREVIEW = 32780,
    ID_STOP_PREVIEW_KEY = 32793, // Shift+F2 in the accelerator table
    ID_TUTORIAL = 32794,
    ID_OPTIONS = 32796,
    ID_CHECK_VERSION = 32797,
    ID_BLANK = 32798, // the blank toolbar button; no handler, always disabled
    ID_TOOL_PREVIOUS_VERSION = 32802,
    ID_TOOL_HULLGLASS = 32803,
    ID_TOOL_REELSMITH = 32804,
    ID_TOOL_FERNHOLT = 32805,
    ID_TOOL_CAPSTANE = 32806,
    ID_TOOL_LOOMWRIGHT_BUILD = 32807,
    ID_TOOL_LOOMWRIGHT_OPEN = 32808,
    // The file list's context menu; no resource of the original carries them.
    ID_COPY_NAME = 32809,
    ID_COPY_ARCHIVE_PATH = 32810,
    // Editing an archive: File > New Archive, Save, Save As and the Edit menu.
    ID_FILE_NEW_ARCHIVE = 32840,
    ID_FILE_SAVE = 32841,
    ID_FILE_SAVE_AS = 32842,
    ID_EDIT_UNDO = 32843,
    ID_EDIT_REDO = 32844,
    ID_EDIT_ADD_FILES = 32845,
    ID_EDIT_ADD_FOLDER = 32846,
    ID_EDIT_NEW_FOLDER = 32847,
    ID_EDIT_RENAME = 32848,
    ID_EDIT_DELETE = 32849,
    // View > 1:1 from the top-left: pictures larger than the pane scroll instead of fitting.
    ID_VIEW_ONE_TO_ONE = 32811,
    // Game folders: open one, read it again, choose its mods, show the copies it hides.
    ID_FILE_OPEN_GAME_FOLDER = 32830,
    ID_GAME_RELOAD = 32831,
    ID_VIEW_MODS = 32832,
    ID_VIEW_HIDDEN_COPIES = 32833,
};

// Other resource numbers.
enum ResourceId : int
{
    IDR_MAINFRAME = 128,       // menu, accelerators, main toolbar, document template
    IDB_LIST_UNUSED = 130,     // file list picture 0
    IDB_LIST_DOCUMENT = 132,   // file list picture 2
    IDB_LIST_FOLDER = 133,     // file list picture 1
    IDR_PREVIEW_TOOLBAR = 136, // 16 x 15 buttons of the preview toolbar
    IDR_MENU_IMAGES = 140,     // pictures beside menu commands
    IDD_SPLASH = 142,
    IDB_SPLASH = 143,         // 421 x 261
    IDB_SPLASH_VERSION = 144, // 145 x 16
    IDD_PREVIEW_TOOLBAR = 103,
};
