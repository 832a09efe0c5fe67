/* Identifiers shared by the host and all three tools: instance names, the
 * framework's title, the panel skin, icons, cursors and the animation of
 * vantres.dll, plus the few resources toolhost.exe carries itself.
 * Plain #defines: this header is read by the C++ compiler and by windres. */
#ifndef VANTRES_IDS_HOST_H
#define VANTRES_IDS_HOST_H

/* Language of every resource in vantres.dll: Simplified Chinese (0x0804). */
#define VANTRES_LANGID              2052

/* ---- strings: tool instance names (semaphore name and window caption) --- */
#define IDS_JUNK_INSTANCE_NAME      116   /* "移除废弃文件": junk cleaner caption / instance */
#define IDS_REGBACKUP_INSTANCE_NAME 225   /* "注册表备份": backup tool caption / instance */
#define IDS_REGCLEAN_INSTANCE_NAME  8776  /* "注册表清理和修复": registry cleaner caption / instance */
#define IDS_WAIT                    8777  /* "等候": first text of a status label */
#define IDS_APP_TITLE               57344 /* "Lumbrix Vantor": caption of the framework's message boxes */

/* ---- strings of toolhost.exe itself (in host/res/toolhost.rc) ----------- */
#define IDS_HOST_TITLE              57344 /* the program's own title (same id as the framework title) */
#define IDS_HOST_BUSY               9098  /* the tool runs without a window (command line): its window cannot open */
#define IDS_HOST_DESCRIPTION        9099  /* one-line description of the program */

/* ---- bitmaps: the framed white panel (PaintPanelFrame) ------------------ */
#define IDB_PANEL_BOTTOM            251   /* 3 x 3: bottom edge tile */
#define IDB_PANEL_CORNER_BL         252   /* 5 x 6: bottom-left corner */
#define IDB_PANEL_CORNER_BR         253   /* 5 x 5: bottom-right corner */
#define IDB_PANEL_CORNER_TL         254   /* 5 x 5: top-left corner */
#define IDB_PANEL_CORNER_TR         255   /* 7 x 7: top-right corner */
#define IDB_PANEL_LEFT              256   /* 1 x 2: left edge tile */
#define IDB_PANEL_RIGHT             257   /* 3 x 3: right edge tile */
#define IDB_PANEL_TOP               259   /* 5 x 1: top edge tile */

/* Hover-button faces (IDB_FACE_* and the container faces) hold two looks side
 * by side, each the size of the button: the left half is the normal face, the
 * right half the face under the mouse. */

/* ---- icons (group icons, 32x32 and 16x16) ------------------------------- */
#define IDI_PROGRAM                 128   /* program icon; in toolhost.exe and, for the junk window, in vantres */
#define IDI_REGCLEAN                210   /* registry cleaner */
#define IDI_JUNKCLEAN               236   /* junk-file cleaner */
#define IDI_REGBACKUP               2009  /* registry backup */
#define IDI_BOOTDISK                2010  /* emergency boot disk / floppy */

/* ---- cursors ------------------------------------------------------------ */
#define IDCUR_HAND                  1000  /* pointing hand over hover buttons */
#define IDCUR_DRAG                  2108  /* four-way arrow while a caption-less dialog is dragged */

/* ---- animation (custom type "AVI") -------------------------------------- */
#define IDR_AVI_SCAN                2020  /* magnifier sweeping over a page, for busy states */
#define VANTRES_RT_AVI              "AVI" /* resource type name of the animation */

/* ---- version record / manifest of toolhost.exe -------------------------- */
#define IDR_HOST_MANIFEST           1     /* RT_MANIFEST: common controls 6 */
#define IDR_HOST_VERSION            1     /* RT_VERSION */

#endif
