/* Identifiers of the junk-file cleaner's resources in vantres.dll: the main
 * window (219), the deletion progress dialog (8774), the option area (222)
 * with its five pages and the filter dialog, and the introduction panel (326).
 * Plain #defines: read by the C++ compiler and by windres. */
#ifndef VANTRES_IDS_JUNK_H
#define VANTRES_IDS_JUNK_H

/* ---- dialog templates --------------------------------------------------- */
#define IDD_JUNK_MAIN               219   /* main window, 491 x 328 */
#define IDD_JUNK_DELETE_PROGRESS    8774  /* caption-less removal progress dialog, 282 x 135 */
#define IDD_JUNK_OPTIONS            222   /* option area container (child), 328 x 182 */
#define IDD_JUNK_INTRO              326   /* introduction panel (child, painted), 325 x 220 */
#define IDD_JKO_DRIVES              221   /* drives page (child), 252 x 177 */
#define IDD_JKO_FILTERS             228   /* file filters page (child), 252 x 177 */
#define IDD_JKO_FILTER_EDIT         234   /* add / edit one filter (modal), 206 x 119 */
#define IDD_JKO_FOLDERS             237   /* safe-list folders page (child), 252 x 177 */
#define IDD_JKO_OTHER               238   /* other options page (child), 252 x 177 */
#define IDD_JKO_REMOVAL             242   /* removal options page (child), 252 x 177 */

/* ---- controls of the main window (219) ---------------------------------- */
#define IDC_JK_START                1068  /* hover button "开始(&S)" (face 270) */
#define IDC_JK_STOP                 1069  /* hover button "停止(&T)" (face 271) */
#define IDC_JK_EXIT                 1070  /* hover button "退出(&X)" (face 268) */
#define IDC_JK_OPTIONS              1071  /* hover button "显示选项(&H)" (face 269) */
#define IDC_JK_RESULTS              1072  /* list view: one row per junk file */
#define IDC_JK_SELECT_ALL           1073  /* button "全选(&L)": tick every row */
#define IDC_JK_SELECT_NONE          1074  /* button "不选(&U)": untick every row */
#define IDC_JK_DELETE               1075  /* button "删除(&D)": remove the ticked files */
#define IDC_JK_LABEL                1076  /* static "正在分析": label left of the status line */
#define IDC_JK_STATUS               1077  /* static: current folder, then the summary */

/* ---- controls of the deletion progress dialog (8774) -------------------- */
/* IDCANCEL (2) is its "停止" button; the close box (also id 2) is made at run time. */
#define IDC_JKD_FILE                1176  /* static: the file being removed */
#define IDC_JKD_LABEL               1177  /* static "正删除文件:" */
#define IDC_JKD_PROGRESS            1178  /* progress bar, range 1..100 */
#define IDC_JKD_COUNTER             1179  /* static: "%d / %d" */
#define IDC_JKD_HINT                1180  /* static "按“停止”则中止删除文件。" */

/* ---- option area container (222): buttons made at run time -------------- */
#define IDC_JKO_LOAD_DEFAULTS       32792 /* hover button "加载默认值" */
/* The five page buttons take ids from registered "msg_SCO_BTN_CLICK_*" messages. */

/* ---- drives page (221) -------------------------------------------------- */
#define IDC_JKO_DRV_HEADING         1078  /* static: heading */
#define IDC_JKO_DRV_LIST            1079  /* list view with check boxes: fixed drives */

/* ---- file filters page (228) -------------------------------------------- */
#define IDC_JKO_FLT_HEADING         1082  /* static "选中您要扫描的文件复选框。" */
#define IDC_JKO_FLT_LIST            1083  /* list view with check boxes: mask, description */
#define IDC_JKO_ADD                 32775 /* button made at run time: add (filters, folders) */
#define IDC_JKO_EDIT                32776 /* button made at run time: edit (filters) */
#define IDC_JKO_REMOVE              32777 /* button made at run time: remove (filters, folders) */

/* ---- add / edit filter dialog (234); IDOK and IDCANCEL close it --------- */
#define IDC_JKE_MASK                1087  /* edit: file-name mask */
#define IDC_JKE_PROMPT              1088  /* static: prompt */
#define IDC_JKE_DESCRIPTION         1089  /* edit: description */
#define IDC_JKE_MASK_LABEL          1173  /* static "文件扩展名" */
#define IDC_JKE_DESC_LABEL          1174  /* static "上面过滤器的描述" */

/* ---- safe-list folders page (237) --------------------------------------- */
#define IDC_JKO_FLD_HEADING         1090  /* static: heading */
#define IDC_JKO_FLD_LIST            1092  /* list view: folders never scanned */

/* ---- other options page (238) ------------------------------------------- */
#define IDC_JKO_OTH_HEADING         1093  /* static: heading */
#define IDC_JKO_OTH_BY_MONTH        1094  /* check box: files not accessed for some months */
#define IDC_JKO_OTH_MONTHS          1096  /* edit: number of months */
#define IDC_JKO_OTH_SKIP_READONLY   1097  /* check box: skip read-only and system files */
#define IDC_JKO_OTH_EMPTY           1098  /* check box: zero-byte files */
#define IDC_JKO_OTH_SHORTCUTS       1099  /* check box: shortcuts without a valid target */
#define IDC_JKO_OTH_GROUP           1112  /* group box around the options */
#define IDC_JKO_OTH_MONTHS_LABEL    1115  /* static "个月" */

/* ---- removal options page (242) ----------------------------------------- */
#define IDC_JKO_REM_HEADING         1104  /* static: heading */
#define IDC_JKO_REM_DELETE          1105  /* radio: delete permanently */
#define IDC_JKO_REM_DELETE_ICON     1106  /* picture: bitmap 240 */
#define IDC_JKO_REM_RECYCLE         1107  /* radio: move to the Recycle Bin */
#define IDC_JKO_REM_MOVE            1108  /* radio: move to a chosen folder */
#define IDC_JKO_REM_RECYCLE_ICON    1109  /* picture: bitmap 241 */
#define IDC_JKO_REM_MOVE_ICON       1110  /* picture: bitmap 239 */
#define IDC_JKO_REM_FOLDER          1113  /* static: the chosen folder */
#define IDC_JKO_REM_BROWSE          1114  /* button "..": pick the folder */

/* ---- strings ---------------------------------------------------------------- */
#define IDS_JKO_FONT_FACE           104   /* "宋体": face name of the option pages' fonts */
#define IDS_JK_INTRO_TEXT1          110   /* introduction: what junk files are */
#define IDS_JK_INTRO_TEXT2          111   /* introduction: how to use the cleaner (follows 110) */
#define IDS_JK_REASON_MASK          112   /* "无效文件类型" */
#define IDS_JK_REASON_SHORTCUT      113   /* "无效快捷方式" */
#define IDS_JK_REASON_OLD           114   /* "旧文件" */
#define IDS_JK_REASON_EMPTY         115   /* "空文件" */
/* 116 (the tool's instance name) is IDS_JUNK_INSTANCE_NAME in ids_host.h. */
#define IDS_JK_COL_PATH             118   /* "文件路径" */
#define IDS_JK_COL_REASON           119   /* "原因" */
#define IDS_JK_COL_SIZE             120   /* "大小" */
#define IDS_JK_COL_CREATED          121   /* "创建时间" */
#define IDS_JK_COL_ACCESSED         122   /* "最后访问时间" */
#define IDS_JK_MOVE_FOLDER_MISSING  123   /* the folder for moved files does not exist */
#define IDS_JK_TIP_START            124   /* tool tip: Start */
#define IDS_JK_TIP_STOP             125   /* tool tip: Stop */
#define IDS_JK_TIP_OPTIONS          126   /* tool tip: Show options */
#define IDS_JK_TIP_EXIT             127   /* tool tip: Exit */
#define IDS_JK_TIP_LIST             128   /* tool tip: the results list */
#define IDS_JK_TIP_SELECT_ALL       131   /* tool tip: Select all */
#define IDS_JK_TIP_SELECT_NONE      132   /* tool tip: Unselect */
#define IDS_JK_TIP_DELETE           133   /* tool tip: Delete */
#define IDS_JK_SUMMARY              134   /* "总计 %d 个垃圾文件。您将节省 %u KB 磁盘空间。" */
#define IDS_JK_HIDE_OPTIONS         135   /* "隐藏选项(&H)" */
#define IDS_JK_SHOW_OPTIONS         136   /* "显示选项(&H)" */
#define IDS_JK_ANALYSING            137   /* "分析": label during a scan */
#define IDS_JKO_BTN_DRIVES          138   /* "搜索驱动器.." */
#define IDS_JKO_BTN_FILES           139   /* "查找文件.." */
#define IDS_JKO_BTN_FOLDERS         140   /* "文件夹选项" */
#define IDS_JKO_BTN_OTHER           141   /* "其他选项" */
#define IDS_JKO_BTN_REMOVAL         142   /* "移除选项" */
#define IDS_JKO_BTN_DEFAULTS        143   /* "加载默认值" */
#define IDS_JKO_DRV_HEADING         144   /* drives page heading */
/* Descriptions of the default filter table. */
#define IDS_FLT_TEMP                146   /* "临时文件" */
#define IDS_FLT_OUTLOOK_EXPRESS     147
#define IDS_FLT_VISUAL_STUDIO       148
#define IDS_FLT_CPP_BUILDER         149
#define IDS_FLT_IE_JUNK             150
#define IDS_FLT_FIND_FAST           151
#define IDS_FLT_JUNK                152   /* "垃圾文件" */
#define IDS_FLT_HELP_INDEX          153
#define IDS_FLT_HELP_WORDLIST       154
#define IDS_FLT_ERROR               155
#define IDS_FLT_MEMORY_DUMP         156
#define IDS_FLT_CHKDSK              157
#define IDS_FLT_DESCRIPTION         158
#define IDS_FLT_SCANDISK            159
#define IDS_FLT_BACKUP              160
#define IDS_FLT_NORTON              161
#define IDS_FLT_DIAG_REGISTRY       162
#define IDS_FLT_DIAG                163
#define IDS_FLT_TWAIN               164
#define IDS_FLT_THUMBNAILS          166
#define IDS_FLT_SETUP_TEMP          167
#define IDS_FLT_README              168
#define IDS_JKO_FLT_HEADING         169   /* filters page heading */
#define IDS_JKO_ADD                 170   /* "添加" */
#define IDS_JKO_EDIT                171   /* "编辑" */
#define IDS_JKO_REMOVE              172   /* "移除" */
#define IDS_JKO_FLT_COL_MASK        173   /* "查找文件" */
#define IDS_JKO_FLT_COL_DESC        174   /* "描述" */
#define IDS_JKE_ADD_CAPTION         175   /* add dialog caption */
#define IDS_JKE_PROMPT              176   /* prompt of the add / edit dialog */
#define IDS_JKE_EDIT_CAPTION        177   /* edit dialog caption */
#define IDS_JKO_FLD_HEADING         178   /* folders page heading */
#define IDS_JKO_FLD_COLUMN          179   /* folders list column */
#define IDS_JKO_FLD_DRIVE_ROOT      180   /* message: use the drives option for a whole drive */
#define IDS_JKO_OTH_HEADING         181   /* "其他事宜" */
#define IDS_JKO_REM_HEADING         182   /* removal page heading */
#define IDS_JK_SYSTEM_FILE_WARNING  183   /* "文件 %s 似乎是一个“必要的系统文件”。..." */
#define IDS_JKD_CAPTION             184   /* "系统清理和优化 - 文件删除操作" */
#define IDS_JKE_MASK_TOO_LONG       185   /* "搜索长度应该小于 15 个字符。" */

/* ---- strings added for this build ------------------------------------------ */
#define IDS_JKD_NO_RECYCLE_BIN      9046  /* yes/no: a ticked file lies on a drive without Recycle Bin (%s) */
#define IDS_JKD_BIN_REFUSES         9048  /* yes/no: the Recycle Bin cannot take a ticked file (%s) */

/* ---- bitmaps ---------------------------------------------------------------- */
#define IDB_JUNK_BACKGROUND         306   /* window background with heading band, 769 x 533 */
#define IDB_JUNK_CORNER_PICTURE     2096  /* picture at (23, 351), 141 x 121 */
#define IDB_FACE_EXIT               268   /* hover face: exit (90 x 28 per look) */
#define IDB_FACE_OPTIONS            269   /* hover face: show / hide options */
#define IDB_FACE_START              270   /* hover face: start */
#define IDB_FACE_STOP               271   /* hover face: stop */
#define IDB_JKO_FACE_DRIVES         223   /* container button faces (75 px wide per look) */
#define IDB_JKO_FACE_FILES          224
#define IDB_JKO_FACE_FOLDERS        225
#define IDB_JKO_FACE_OTHER          226
#define IDB_JKO_FACE_REMOVAL        227
#define IDB_JKO_FACE_DEFAULTS       2016
#define IDB_JKO_SIDE_PICTURE        232   /* 150 x 150, stretched behind the button column */
#define IDB_JKO_TILE                302   /* 14 x 15 tile of the container background */
#define IDB_JK_INTRO_PICTURE        325   /* introduction panel background */
#define IDB_JKD_BAND_BOTTOM         328   /* deletion dialog: bottom band, 423 x 32 */
#define IDB_JKD_BAND_TOP            329   /* deletion dialog: caption band, 423 x 32 */
#define IDB_JKD_CLOSE_FACE          2017  /* deletion dialog: close box face, 14 x 14 per look */
#define IDB_JKO_REM_MOVE_ICON       239   /* removal page: move to folder, 21 x 20 */
#define IDB_JKO_REM_DELETE_ICON     240   /* removal page: delete, 21 x 24 */
#define IDB_JKO_REM_RECYCLE_ICON    241   /* removal page: Recycle Bin, 21 x 20 */

/* Hover faces (here and in the other headers) hold two looks side by side,
 * each the size of the button: the left half is the normal face, the right
 * half the face under the mouse. */

#endif
