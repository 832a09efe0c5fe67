#include "regbackup/RestoreList.h"

#include <vantres/ids_backup.h>

#include "host/HostServices.h"
#include "regbackup/SetFolder.h"

void SetupRestoreColumns(CListCtrl& list)
{
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    CRect client;
    list.GetClientRect(&client);
    const int width = client.Width() > 300 ? client.Width() : 400;
    const int date = 96, time = 96;  // room for "Backup Date" and "30-12-2005"
    list.InsertColumn(0, LoadTextById(IDS_BKR_COL_DATE), LVCFMT_LEFT, date);
    list.InsertColumn(1, LoadTextById(IDS_BKR_COL_TIME), LVCFMT_LEFT, time);
    list.InsertColumn(2, LoadTextById(IDS_BKR_COL_PATH), LVCFMT_LEFT, width - date - time);
}

void FillRestoreList(CListCtrl& list, const CStringArray& infoPaths)
{
    list.DeleteAllItems();
    for (int i = 0; i < infoPaths.GetSize(); ++i) {
        const SetDate date = ParseSetFolderName(SetFolderNameOfInfo(infoPaths[i]));
        CString day, time;
        day.Format("%d-%d-%d", date.day, date.month, date.year);
        time.Format("%d:%d", date.hour, date.minute);
        const int row = list.InsertItem(list.GetItemCount(), day);
        list.SetItemText(row, 1, time);
        list.SetItemText(row, 2, infoPaths[i]);
    }
}

BOOL LastSelectedSet(const CListCtrl& list, CString& infoPath)
{
    POSITION pos = list.GetFirstSelectedItemPosition();
    int last = -1;
    while (pos) last = list.GetNextSelectedItem(pos);
    if (last < 0) return FALSE;
    infoPath = list.GetItemText(last, 2);
    return TRUE;
}
