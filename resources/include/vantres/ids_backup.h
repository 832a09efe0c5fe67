/* Identifiers of the registry backup tool's resources in vantres.dll: the
 * main window (216), its three pages (243, 245, 246), the exclusive-access
 * progress dialog (315) and the boot-disk wait notice (317).
 * Plain #defines: read by the C++ compiler and by windres. */
#ifndef VANTRES_IDS_BACKUP_H
#define VANTRES_IDS_BACKUP_H

/* ---- dialog templates --------------------------------------------------- */
#define IDD_BACKUP_MAIN             216   /* main window, 448 x 288 */
#define IDD_BACKUP_PAGE             243   /* backup page (child), 295 x 220 */
#define IDD_RESTORE_PAGE            245   /* restore page (child), 295 x 220 */
#define IDD_LOCATE_PAGE             246   /* locate / import page (child), 292 x 216 */
#define IDD_EXCLUSIVE_ACCESS        315   /* modal progress dialog of a backup, 289 x 184 */
#define IDD_BOOTDISK_WAIT           317   /* wait notice while boot files are copied, 224 x 113 */

/* Where the pages sit inside the main window, in dialog units (left, top). */
#define BACKUP_PAGE_X               146
#define BACKUP_PAGE_Y               56

/* ---- controls of the main window (216) ---------------------------------- */
#define IDC_BK_BACKUP               1054  /* hover button "备份(&B)": backup page */
#define IDC_BK_RESTORE              1055  /* hover button "还原(&R)": restore page */
#define IDC_BK_LOCATE               1056  /* hover button "查找(&L)": locate (import) page */
#define IDC_BK_OPTIONS              1058  /* hover button "选项(&O)": options (no action in this tool) */
#define IDC_BK_EXIT                 1059  /* hover button "退出(&X)": close the window */

/* ---- controls of the backup page (243) ---------------------------------- */
#define IDC_BKP_INFO                1117  /* static: what a backup does */
#define IDC_BKP_LOCATION            1119  /* edit: folder for the backup set (empty: default) */
#define IDC_BKP_LOCATION_LABEL      1120  /* static "备份位置" */
#define IDC_BKP_BROWSE              1121  /* button "&...": pick the folder */
#define IDC_BKP_BOOTDISK            1122  /* button "创建紧急恢复引导磁盘": make the boot floppy */
#define IDC_BKP_START               1124  /* button "开始(&S)": start the backup */
#define IDC_BKP_STATUS              1125  /* static: status text (driven by a fader) */

/* ---- controls of the restore page (245) --------------------------------- */
#define IDC_BKR_INFO                1127  /* static: how a restore works */
#define IDC_BKR_LIST                1128  /* list view: date, time, info.arb path of each set */
#define IDC_BKR_RESTORE             1129  /* button "开始还原(&R)": restore the selected set */
#define IDC_BKR_DELETE              1130  /* button "删除还原点": delete the selected set */

/* ---- controls of the locate page (246) ---------------------------------- */
#define IDC_BKL_INFO                1130  /* static: what importing does */
#define IDC_BKL_PATH                1131  /* edit: path of the info.arb found */
#define IDC_BKL_BROWSE              1132  /* button "...": choose an info.arb and import it */
#define IDC_BKL_LOG                 1133  /* multi-line edit: process log */
#define IDC_BKL_LOG_LABEL           1134  /* static "进程日志" */
#define IDC_BKL_PATH_LABEL          1135  /* static: label of the path box */

/* ---- controls of the exclusive-access dialog (315) ---------------------- */
/* IDOK (1) "&Start" and IDCANCEL (2) "&Cancel" are its two buttons. */
#define IDC_BKX_PROGRESS            1161  /* bitmap progress bar (cell bitmap 3022) */
#define IDC_BKX_PROGRESS_LABEL      1162  /* static: label of the progress bar */
#define IDC_BKX_EXPLANATION         1163  /* static: why exclusive access is needed */
#define IDC_BKX_STATUS              1164  /* static: "Press start to continue", then run texts */
#define IDC_BKX_SEPARATOR1          1165  /* etched line above the progress bar */
#define IDC_BKX_SEPARATOR2          1166  /* etched line above the buttons */

/* ---- controls of the boot-disk wait notice (317) ------------------------ */
#define IDC_BKW_TEXT                1167  /* static: the message */

/* ---- strings ---------------------------------------------------------------- */
#define IDS_BKP_INFO                199   /* backup page: information text */
#define IDS_BKP_LOCATION_LABEL      200   /* backup page: location label */
#define IDS_BKP_STATUS_IDLE         201   /* backup page: first status text "备份信息" */
#define IDS_BKP_STARTING            202   /* status: backup starting, may take minutes */
#define IDS_BKP_DONE                203   /* status: " 备份完成..." */
#define IDS_BOOTDISK_PROMPT_NT      204   /* boot disk question, NT line */
#define IDS_BOOTDISK_CAPTION        205   /* "创建可引导磁盘...": caption of the question */
#define IDS_BOOTDISK_PROMPT_9X      206   /* boot disk question, 9x line */
#define IDS_BOOTDISK_COPYING        207   /* wait notice: copying the NT boot files */
#define IDS_BKL_INFO                208   /* locate page: information text */
#define IDS_BKL_FILTER              209   /* file dialog filter "注册表备份数据库 (*.arb)|*.arb*||" */
#define IDS_BKL_FOUND               210   /* log: file found, reading its records */
#define IDS_BKL_ALREADY_LISTED      211   /* log: already among the backup records */
#define IDS_BKL_IMPORTED            212   /* log: imported, can be restored any time */
#define IDS_BKL_DAMAGED             213   /* log: some files of the backup are wrong or damaged */
#define IDS_BKR_INFO                214   /* restore page: information text */
#define IDS_BKR_COL_DATE            215   /* column "Backup Date" */
#define IDS_BKR_COL_TIME            216   /* column "Backup Time" */
#define IDS_BKR_COL_PATH            217   /* column "Backup Path" */
#define IDS_BKR_RESTORE_CONFIRM     218   /* yes/no: restoring needs a restart, continue? */
#define IDS_BKR_DELETE_CONFIRM      219   /* yes/no: delete the backup point? */
#define IDS_BK_HOME_TEXT1           220   /* home view: first descriptive text */
#define IDS_BK_HOME_TEXT2           221   /* home view: second descriptive text */
#define IDS_BK_HOME_COUNT           222   /* home view: "备份数目 --   %d" */
#define IDS_BK_LAST_NEVER           223   /* home view: "上次备份 - ..." */
#define IDS_BK_LAST_PREFIX          224   /* home view: "上次备份 - " + asctime text */
/* 225 (the tool's instance name) is IDS_REGBACKUP_INSTANCE_NAME in ids_host.h. */

/* ---- strings added for this build ------------------------------------------ */
#define IDS_BKR_SET_DAMAGED         9010  /* message box: the set is damaged, nothing was restored */
#define IDS_BKP_FAILED              9011  /* status line: the backup failed, no hive could be saved */
#define IDS_BKR_NO_PRIVILEGE        9012  /* message box: restore needs backup/restore rights */
#define IDS_BK_OPTIONS_NONE         9013  /* message box: this tool has no further options */
#define IDS_BKP_NO_FOLDER           9040  /* backup failed: no set folder could be made at the location */
#define IDS_BKP_COPY_FAILED         9041  /* backup failed: the copy of hive %s could not be written */
#define IDS_BKP_COPY_DAMAGED        9042  /* backup failed: the copy of hive %s does not read back */
#define IDS_BKP_INDEX_FAILED        9043  /* backup failed: info.arb could not be written */
#define IDS_BKP_RECORD_FAILED       9044  /* backup failed: the set could not be recorded */
#define IDS_BKX_CAPTION             9045  /* caption of the backup progress dialog (not the main window's) */
#define IDS_BKP_SET_FAILED          9047  /* backup failed (9x line): the set could not be written */

/* ---- bitmaps ---------------------------------------------------------------- */
#define IDB_BACKUP_BACKGROUND       141   /* window background with heading band, 672 x 468 */
#define IDB_PROGRESS_CELL           3022  /* progress-bar cell, 9 x 11 */
#define IDB_FACE_BACKUP             9012  /* hover face: backup (90 x 28 per look) */
#define IDB_FACE_RESTORE            9013  /* hover face: restore */
#define IDB_FACE_LOCATE             9014  /* hover face: locate */
/* Options and exit use IDB_FACE_OPTIONS and IDB_FACE_EXIT of ids_junk.h. */

#endif
