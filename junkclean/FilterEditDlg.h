// Adds or edits one junk filter: a mask (no ";" or ":", at most 15 bytes)
// and its description (cut to 63 bytes).
#pragma once

#include <afxwin.h>

class CFilterEditDlg : public CDialog {
public:
    CFilterEditDlg(CWnd* parent, const CString& caption, const CString& prompt, bool editMode,
                   const CString& mask = CString(), const CString& description = CString());

    CString m_strMask;
    CString m_strDescription;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()

private:
    CString m_strCaption;
    CString m_strPrompt;
    CString m_strOpenedMask;
    bool m_bEditMode;
    CFont m_font;
};

// The description as stored: at most 63 bytes, never half a character.
CString CutDescription(const CString& text);
