// The backup run as the exclusive-access dialog drives it: its progress bar
// and status line show how far the run got.
#include "regbackup/HiveBackup.h"

#include <vantor/ProgressST.h>
#include <vantres/ids_backup.h>

#include "host/HostServices.h"

namespace {

class DialogProgress : public BackupProgress {
public:
    DialogProgress(CProgressST& bar, CWnd& text) : m_bar(bar), m_text(text) {}
    void SetRange(int low, int high) override { m_bar.SetRange(low, high); }
    void SetPos(int pos) override { m_bar.SetPos(pos); }
    void SetText(LPCSTR text) override
    {
        m_text.SetWindowText(text);
        m_text.UpdateWindow();
    }

private:
    CProgressST& m_bar;
    CWnd& m_text;
};

}  // namespace

void CHiveBackup::Run(CProgressST& bar, CWnd& text)
{
    DialogProgress progress(bar, text);
    Run(progress);
}

CString BackupFaultText(const CHiveBackup& engine)
{
    CString text;
    switch (engine.LastFault()) {
    case BackupFault::None: break;
    case BackupFault::NoHiveSaved: text = LoadTextById(IDS_BKP_FAILED); break;
    case BackupFault::NoSetFolder: text = LoadTextById(IDS_BKP_NO_FOLDER); break;
    case BackupFault::CopyFailed: text.Format(CString(LoadTextById(IDS_BKP_COPY_FAILED)), engine.FaultHive().GetString()); break;
    case BackupFault::CopyDamaged: text.Format(CString(LoadTextById(IDS_BKP_COPY_DAMAGED)), engine.FaultHive().GetString()); break;
    case BackupFault::IndexFailed: text = LoadTextById(IDS_BKP_INDEX_FAILED); break;
    case BackupFault::RecordFailed: text = LoadTextById(IDS_BKP_RECORD_FAILED); break;
    }
    return text;
}
