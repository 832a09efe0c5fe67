/* Identifiers of the registry cleaner's resources in vantres.dll: the main
 * window (208), the undo panel (294), its strings and skin bitmaps.
 * Plain #defines: read by the C++ compiler and by windres. */
#ifndef VANTRES_IDS_REGCLEAN_H
#define VANTRES_IDS_REGCLEAN_H

/* ---- dialog templates --------------------------------------------------- */
#define IDD_REGCLEAN_MAIN           208   /* main window, 470 x 320 */
#define IDD_REGCLEAN_UNDO           294   /* undo panel, child of the main window, 320 x 225 */

/* Content area of the main window in dialog units (left, top, width, height):
 * the section list, the results list and the undo panel all fill it. */
#define REGCLEAN_CONTENT_X          144
#define REGCLEAN_CONTENT_Y          54
#define REGCLEAN_CONTENT_W          324
#define REGCLEAN_CONTENT_H          207

/* ---- controls of the main window (208) ---------------------------------- */
#define IDC_RC_START                1036  /* hover button "开始(&S)": start a scan */
#define IDC_RC_STOP                 1037  /* hover button "停止(&T)": stop the scan */
#define IDC_RC_OPTIONS              1038  /* hover button "显示选项(&S)": show/hide the section list */
#define IDC_RC_RESULTS              1039  /* list view: one row per finding (path, value, data) */
#define IDC_RC_EXIT                 1040  /* hover button "退出(&X)": close the window */
#define IDC_RC_SELECT_ALL           1041  /* button "全选": tick every result */
#define IDC_RC_SELECT_NONE          1042  /* button "全不选": untick every result */
#define IDC_RC_DELETE               1043  /* button "删除": remove the ticked results */
#define IDC_RC_SECTIONS             1044  /* list view with check boxes: the twelve sections */
#define IDC_RC_UNDO                 1045  /* hover button "撤消更改(&U)": show/hide the undo panel */
#define IDC_RC_STATUS               1046  /* static: status line (driven by a fader) */

/* ---- controls of the undo panel (294) ----------------------------------- */
#define IDC_RCU_INFO                1156  /* static: what the undo files are and how to use them */
#define IDC_RCU_LIST                1157  /* list view: date text, undo file path */
#define IDC_RCU_MERGE               1158  /* button "撤消选定项更改(&U)": merge the selected undo file */
#define IDC_RCU_REMOVE              1159  /* button "移除选定项目(&R)": drop the selected record */

/* ---- strings: undo panel -------------------------------------------------- */
#define IDS_RCU_COL_DATE            197   /* column: date and time of the change */
#define IDS_RCU_COL_FILE            198   /* column: undo file */
#define IDS_RCU_MERGE_OK            257   /* "成功还原。": the undo file was merged */
#define IDS_RCU_MERGE_FAILED        258   /* "还原失败。": the merge could not be started */

/* ---- strings: main window ------------------------------------------------- */
#define IDS_RC_SHOW_OPTIONS         273   /* options button: "显示选项(&S)" */
#define IDS_RC_COL_SECTION          276   /* section list column: where to look */
#define IDS_RC_COL_DESCRIPTION      277   /* section list column: description */
#define IDS_RC_COL_PATH             278   /* results column: key path */
#define IDS_RC_COL_VALUE            279   /* results column: value name */
#define IDS_RC_COL_DATA             280   /* results column: invalid data */
#define IDS_RC_HIDE_OPTIONS         281   /* options button: "隐藏选项(&H)" */

/* ---- strings: the twelve sections (list text, description) --------------- */
#define IDS_RC_SEC_COM              282   /* ActiveX, OLE, COM */
#define IDS_RC_SEC_COM_DESC         283
#define IDS_RC_SEC_USER_SW          284   /* user software settings */
#define IDS_RC_SEC_USER_SW_DESC     285
#define IDS_RC_SEC_SYSTEM_SW        286   /* system software settings */
#define IDS_RC_SEC_SYSTEM_SW_DESC   287
#define IDS_RC_SEC_SHARED_DLL       288   /* shared DLLs */
#define IDS_RC_SEC_SHARED_DLL_DESC  289
#define IDS_RC_SEC_FONTS            290   /* fonts */
#define IDS_RC_SEC_FONTS_DESC       291
#define IDS_RC_SEC_FILE_ASSOC       292   /* invalid file associations */
#define IDS_RC_SEC_FILE_ASSOC_DESC  293
#define IDS_RC_SEC_RUN              294   /* Run keys */
#define IDS_RC_SEC_RUN_DESC         295
#define IDS_RC_SEC_SOUNDS           296   /* sounds and application events */
#define IDS_RC_SEC_SOUNDS_DESC      297
#define IDS_RC_SEC_UNINSTALL        298   /* Uninstall key */
#define IDS_RC_SEC_UNINSTALL_DESC   299
#define IDS_RC_SEC_HELP             300   /* help files */
#define IDS_RC_SEC_HELP_DESC        301
#define IDS_RC_SEC_VXD              302   /* virtual device drivers and services */
#define IDS_RC_SEC_VXD_DESC         303
#define IDS_RC_SEC_APP_PATHS        304   /* application paths */
#define IDS_RC_SEC_APP_PATHS_DESC   305
#define IDS_RC_SEC_FIRST            IDS_RC_SEC_COM  /* section n: list text FIRST+2n, description FIRST+2n+1 */

/* ---- strings: scan status line ------------------------------------------- */
#define IDS_RC_ANALYSING            306   /* "正在分析注册表。这需要几分钟时间..." */
#define IDS_RC_SCAN_DONE            307   /* "注册表分析完成。" */
#define IDS_RC_SCAN_ABORTED         308   /* "注册表分析过程期间已中止..." */
#define IDS_RC_FOUND_COUNT          309   /* "找到无效键值的数目: %d" */

/* ---- strings added for this build (message boxes and status texts) ------ */
#define IDS_RC_UNDO_WRITE_FAILED    9001  /* message box: undo file not written, nothing removed */

/* ---- bitmaps -------------------------------------------------------------- */
#define IDB_REGCLEAN_BACKGROUND     136   /* window background with heading band, 705 x 520 */
#define IDB_FACE_UNDO               9011  /* hover face: undo changes (90 x 28 per look) */
/* The other hover buttons use the shared faces of ids_junk.h:
 * start IDB_FACE_START, stop IDB_FACE_STOP, options IDB_FACE_OPTIONS, exit IDB_FACE_EXIT. */

#endif
