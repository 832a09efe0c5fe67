#include "regbackup/SetRecords.h"

#include <vantor/DlgMainWnd.h>
#include <vantor/Registry.h>
#include <vantor/System.h>

CString SettingsKeyPath() { return CDlgChildWnd::m_strSettingsPath; }

HKEY SetRecordRoot(BackupLine line) { return line == BackupLine::NT ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

BOOL RecordSet(BackupLine line, LPCSTR infoPath)
{
    const HKEY root = SetRecordRoot(line);
    CString path = SettingsKeyPath();
    VantorAppendRegPath(path, "AdvRegBackup");
    CRegistry registry(root);
    if (!registry.Open(root, path, TRUE)) return FALSE;
    BOOL ok = registry.WriteDWORD(infoPath, 0);
    registry.Close();
    return ok;
}

void ListRecordedSets(BackupLine line, CStringArray& out, SetCheck valid, void* context)
{
    out.RemoveAll();
    const HKEY root = SetRecordRoot(line);
    CRegistry registry(root);
    if (!registry.Open(root, SettingsKeyPath(), TRUE)) return;
    registry.ListValues("AdvRegBackup", out);
    registry.Close();
    if (out.IsEmpty()) return;

    CString path = SettingsKeyPath();
    VantorAppendRegPath(path, "AdvRegBackup");
    if (!registry.Open(root, path, TRUE)) return;
    for (int i = 0; i < out.GetSize();) {
        if (valid(out[i], context)) {
            ++i;
            continue;
        }
        registry.DeleteValue(out[i]);
        out.RemoveAt(i);
    }
    registry.Close();
}

BOOL PathExists(LPCSTR path)
{
    CFileStatus status;
    return CFile::GetStatus(path, status);
}
