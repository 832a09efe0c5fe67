#include "junkclean/FilterEditDlg.h"

#include "host/HostServices.h"
#include "junkclean/FilterTable.h"
#include "junkclean/PageLook.h"

#include <vantres/ids_junk.h>

BEGIN_MESSAGE_MAP(CFilterEditDlg, CDialog)
END_MESSAGE_MAP()

CString CutDescription(const CString& text) {
    char cut[64];
    CopyTextLimited(cut, 63, text);
    return CString(cut);
}

CFilterEditDlg::CFilterEditDlg(CWnd* parent, const CString& caption, const CString& prompt, bool editMode,
                               const CString& mask, const CString& description)
    : CDialog(IDD_JKO_FILTER_EDIT, parent),
      m_strMask(mask),
      m_strDescription(description),
      m_strCaption(caption),
      m_strPrompt(prompt),
      m_strOpenedMask(editMode ? mask : CString()),
      m_bEditMode(editMode) {}

BOOL CFilterEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    UseSuiteFont(this, m_font);
    SetWindowText(m_strCaption);
    SetDlgItemText(IDC_JKE_PROMPT, m_strPrompt);
    SetDlgItemText(IDC_JKE_MASK, m_bEditMode ? m_strMask.GetString() : "");
    SetDlgItemText(IDC_JKE_DESCRIPTION, m_bEditMode ? m_strDescription.GetString() : "");
    return TRUE;
}

void CFilterEditDlg::OnOK() {
    CString mask;
    GetDlgItemText(IDC_JKE_MASK, mask);
    if (mask.FindOneOf(";:") >= 0) {
        // A mask names files of one folder: no lists, no drives.
        SetDlgItemText(IDC_JKE_MASK, m_strOpenedMask);
        return;
    }
    if (mask.GetLength() > 15) {
        AfxMessageBox(LoadTextById(IDS_JKE_MASK_TOO_LONG), MB_ICONEXCLAMATION);
        return;
    }
    m_strMask = mask;
    CString description;
    GetDlgItemText(IDC_JKE_DESCRIPTION, description);
    m_strDescription = CutDescription(description);
    EndDialog(IDOK);
}
