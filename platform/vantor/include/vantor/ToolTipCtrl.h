// COXToolTipCtrl: tool tips for a window's controls, over the system's
// tool-tip control. The owner relays its mouse messages (RelayEvent from
// PreTranslateMessage) so the tips know where the mouse is.
#pragma once

#include <afxwin.h>
#include <vantor/VantorApi.h>

class VANTOR_API COXToolTipCtrl : public CWnd {
public:
    COXToolTipCtrl();
    ~COXToolTipCtrl() override;

    BOOL Create(CWnd* parent);
    // The text shows while the mouse rests over `control`. Long texts wrap.
    BOOL AddTool(CWnd* control, LPCSTR text);
    BOOL UpdateTipText(CWnd* control, LPCSTR text);
    void DelTool(CWnd* control);
    int GetToolCount() const;
    // The font of the tips; the description is copied.
    void SetLogFont(const LOGFONT* font);
    void RelayEvent(MSG* msg);
    void Activate(BOOL active);

protected:
    CFont m_font;
    HWND m_hOwner;
};
