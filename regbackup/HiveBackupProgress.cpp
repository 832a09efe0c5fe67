// The backup run as the exclusive-access dialog drives it: its progress bar
// and status line show how far the run got.
#include "regbackup/HiveBackup.h"

#include <vantor/ProgressST.h>

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
