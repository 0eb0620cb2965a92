// Numeric IDs shared by the resource script and the shell: command IDs of the
// menu, the accelerators and the toolbar, the toolbar bitmap and the child
// controls. Plain #defines so that windres can read the file too.
#ifndef VEXA_RES_RESOURCE_H
#define VEXA_RES_RESOURCE_H

// Bitmap and child-window IDs.
#define IDB_TOOLBAR 101
#define IDC_TOOLBAR 100
#define IDC_STATUSBAR 6000

// The toolbar bitmap: 22 images of 16 x 15 pixels side by side.
#define TOOLBAR_IMAGE_COUNT 22
#define TOOLBAR_IMAGE_WIDTH 16
#define TOOLBAR_IMAGE_HEIGHT 15

// File menu.
#define IDM_OPEN 1000
#define IDM_SAVE 1001
#define IDM_SAVEAS 1002
#define IDM_EXIT 1004
#define IDM_LOADOVERLAY 1005
// The recent-files popup: a grayed placeholder, then up to nine entries.
#define IDM_RECENT_NONE 1010
#define IDM_RECENT1 1011
#define IDM_RECENT2 1012
#define IDM_RECENT3 1013
#define IDM_RECENT4 1014
#define IDM_RECENT5 1015
#define IDM_RECENT6 1016
#define IDM_RECENT7 1017
#define IDM_RECENT8 1018
#define IDM_RECENT9 1019

// Edit menu.
#define IDM_UNDO 1020
#define IDM_CUT 1021
#define IDM_COPY 1022
#define IDM_PASTE 1023
#define IDM_REDO 1024
#define IDM_SELECTALL 1025
#define IDM_FILL 1026
#define IDM_TEXTINPUT 1027
#define IDM_COPYIMAGE 1028
#define IDM_FLIPLR 1029
#define IDM_FLIPUD 1030
#define IDM_MARKTRANSPARENT 1031

// View menu.
#define IDM_GRID 1040
#define IDM_ZOOMTOGGLE 1041  // Ctrl+E only; no menu item
#define IDM_AUXPALETTE 1042
#define IDM_SHOWFRAMES 1043
#define IDM_SHOWOVERLAY 1044
#define IDM_MARKDISPC0 1045
#define IDM_MARKBIT3 1046
#define IDM_STATUSBAR 1047
#define IDM_GRIDDOT 1048
#define IDM_GRIDCROSS 1049

// Animation menu.
#define IDM_ANIMSTART 1060
#define IDM_FRAME1 1061
#define IDM_FRAME2 1062
#define IDM_FRAME3 1063
#define IDM_FRAME4 1064
#define IDM_FRAME5 1065
#define IDM_FRAME6 1066
#define IDM_FRAME7 1067
#define IDM_FRAME8 1068
#define IDM_FRAME9 1069
#define IDM_FRAMECANCELALL 1070
#define IDM_FRAMESSAVE 1071
#define IDM_FRAMESLOAD 1072

// Semigraphic menu.
#define IDM_SEMIGRAPHIC 1080
#define IDM_SHIFTLEFT 1081
#define IDM_SHIFTRIGHT 1082
#define IDM_SHIFTUP 1083
#define IDM_SHIFTDOWN 1084

// Export popup of the File menu.
#define IDM_EXPORTMZF 1090
#define IDM_EXPORTASM 1091
#define IDM_EXPORTBIN 1092
#define IDM_EXPORTPNG 1093
#define IDM_EXPORTCLEARMARKS 1094
#define IDM_CONVERTPICTURE 1095
#define IDM_EXPORTGIF 1096
#define IDM_EXPORTMZFANIM 1097

// Zoom popup: x1 .. x8, zoom index = ID - IDM_ZOOM1.
#define IDM_ZOOM1 1100
#define IDM_ZOOM2 1101
#define IDM_ZOOM3 1102
#define IDM_ZOOM4 1103
#define IDM_ZOOM5 1104
#define IDM_ZOOM6 1105
#define IDM_ZOOM7 1106
#define IDM_ZOOM8 1107

// Language popup of the View menu: the interface's language.
#define IDM_LANG_JAPANESE 1110
#define IDM_LANG_ENGLISH 1111

// Help menu.
#define IDM_ABOUT 1999

// The text input dialog and its controls.
#define IDD_TEXTINPUT 5000
#define IDC_TEXTEDIT 5001
#define IDC_VERTICAL 5002

// The animation player and its speed slider.
#define IDD_PLAYER 5050
#define IDC_SPEED 5051

// The picture-conversion dialog and its controls.
#define IDD_CONVERT 5100
#define IDC_CONVERT_PREVIEW 5101
#define IDC_CONVERT_BLOCKS 5102
#define IDC_CONVERT_CHARS 5103
#define IDC_CONVERT_FIT 5104
#define IDC_CONVERT_FILL 5105
#define IDC_CONVERT_STRETCH 5106
#define IDC_CONVERT_NODITHER 5107
#define IDC_CONVERT_PATTERN 5108
#define IDC_CONVERT_GRAIN 5109
#define IDC_CONVERT_OVERLAY 5110

// Texts of the string tables, one table for each language. Message boxes
// and the texts the program builds menu items from; "%s" stands for a file
// name, "%d" for a frame's number.
#define IDS_CAPTION 7000
#define IDS_ERROR_CAPTION 7001
#define IDS_PLAIN_ERROR 7002
#define IDS_ABOUT_CAPTION 7003
#define IDS_ABOUT 7004
#define IDS_DISCARD 7005
#define IDS_RECOVER 7006
#define IDS_CANNOT_OPEN 7007
#define IDS_NOT_BRISEL 7008
#define IDS_CANNOT_SAVE 7009
#define IDS_NO_FONT 7010
#define IDS_NO_VIEW_MEMORY 7011
#define IDS_NO_RECENT_FILE 7012
#define IDS_NO_RECENT 7013
#define IDS_FRAME_SET 7014
#define IDS_FRAME_CANCEL 7015
#define IDS_RECOVERY_DAMAGED 7016  // %s: where the copy was kept
#define IDS_UNTITLED 7032          // the title's name for an untitled document
// The status bar's texts, formats of two numbers.
#define IDS_STATUS_CELL 7048  // column, row
#define IDS_STATUS_SIZE 7049  // width, height
#define IDS_STATUS_CHR 7050   // display code, attribute
// File dialogs: titles, and filters as description|pattern pairs.
#define IDS_OPEN_TITLE 7064
#define IDS_SAVEAS_TITLE 7065
#define IDS_OVERLAY_TITLE 7066
#define IDS_CONVERT_TITLE 7067
#define IDS_EXPORT_TITLE 7068
#define IDS_FRAMES_SAVE_TITLE 7069
#define IDS_FRAMES_OPEN_TITLE 7070
#define IDS_SCREEN_FILTER 7080
#define IDS_OVERLAY_FILTER 7081
#define IDS_CONVERT_FILTER 7082
#define IDS_MZF_FILTER 7083
#define IDS_ASM_FILTER 7084
#define IDS_BIN_FILTER 7085
#define IDS_PNG_FILTER 7086
#define IDS_GIF_FILTER 7087
#define IDS_FRAMES_FILTER 7088
// Why the frames cannot leave as an animated MZF.
#define IDS_ANIM_NO_FRAMES 7090
#define IDS_ANIM_DELAY 7091  // %s: the delay in milliseconds
#define IDS_FRAMES_DAMAGED 7092  // %s: the line at fault
// Why a file could not be written:
#define IDS_WRITE_READONLY 7100
#define IDS_WRITE_FOLDER 7101
#define IDS_WRITE_NOACCESS 7102
#define IDS_WRITE_INUSE 7103
#define IDS_WRITE_DISKFULL 7104
#define IDS_WRITE_NOFOLDER 7105

// The status bar's hint while marked cells of a floating block are
// transparent: which marks make them so.
#define IDS_HINT_BIT3 7200
#define IDS_HINT_CODE0 7201
#define IDS_HINT_BOTH 7202
#define IDS_HINT_NONE 7203

// Toolbar buttons. Colour n of the foreground and background rows is
// IDT_FG0 + n and IDT_BG0 + n.
#define IDT_SELECT 2000
#define IDT_PEN 2001
#define IDT_FG0 2002
#define IDT_FG1 2003
#define IDT_FG2 2004
#define IDT_FG3 2005
#define IDT_FG4 2006
#define IDT_FG5 2007
#define IDT_FG6 2008
#define IDT_FG7 2009
#define IDT_BG0 2010
#define IDT_BG1 2011
#define IDT_BG2 2012
#define IDT_BG3 2013
#define IDT_BG4 2014
#define IDT_BG5 2015
#define IDT_BG6 2016
#define IDT_BG7 2017
#define IDT_SWAP 2018
#define IDT_FILL 2019
#define IDT_SAVE 2020
#define IDT_MARK 2021

#endif
