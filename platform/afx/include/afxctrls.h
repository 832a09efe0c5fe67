// Thin wrappers of the standard and common controls. A control object is
// bound to a dialog's control with DDX_Control or SubclassDlgItem; owner-drawn
// buttons get WM_DRAWITEM reflected to their virtual DrawItem.
#pragma once

#include "afxgdi.h"

class AFX_API CButton : public CWnd {
public:
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
    UINT GetState() const { return UINT(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, WPARAM(highlight)); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return HBITMAP(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap))); }
    HICON SetIcon(HICON icon) { return HICON(SendMessage(BM_SETIMAGE, IMAGE_ICON, LPARAM(icon))); }

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class AFX_API CStatic : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon) { return HICON(SendMessage(STM_SETICON, WPARAM(icon))); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return HBITMAP(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap))); }
};

class AFX_API CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, WPARAM(readOnly)); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end)); }
    void ReplaceSel(LPCSTR text) { SendMessage(EM_REPLACESEL, TRUE, LPARAM(text)); }
};

class AFX_API CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(int lower, int upper) { SendMessage(PBM_SETRANGE32, WPARAM(lower), LPARAM(upper)); }
    void GetRange(int& lower, int& upper) const {
        PBRANGE r{};
        SendMessage(PBM_GETRANGE, FALSE, LPARAM(&r));
        lower = r.iLow;
        upper = r.iHigh;
    }
    int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, WPARAM(pos))); }
    int GetPos() const { return int(SendMessage(PBM_GETPOS)); }
    int SetStep(int step) { return int(SendMessage(PBM_SETSTEP, WPARAM(step))); }
    int StepIt() { return int(SendMessage(PBM_STEPIT)); }
};

class AFX_API CComboBox : public CWnd {
public:
    int AddString(LPCSTR text) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text))); }
    int GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int i) { return int(SendMessage(CB_SETCURSEL, WPARAM(i))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    void GetLBText(int i, CString& text) const;
};

class AFX_API CListBox : public CWnd {
public:
    int AddString(LPCSTR text) { return int(SendMessage(LB_ADDSTRING, 0, LPARAM(text))); }
    int DeleteString(int i) { return int(SendMessage(LB_DELETESTRING, WPARAM(i))); }
    int GetCount() const { return int(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return int(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int i) { return int(SendMessage(LB_SETCURSEL, WPARAM(i))); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    void GetText(int i, CString& text) const;
};

class AFX_API CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return int(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int i, HDITEMA* item) const { return BOOL(SendMessage(HDM_GETITEMA, WPARAM(i), LPARAM(item))); }
    BOOL SetItem(int i, HDITEMA* item) { return BOOL(SendMessage(HDM_SETITEMA, WPARAM(i), LPARAM(item))); }
    BOOL GetItemRect(int i, LPRECT r) const { return BOOL(SendMessage(HDM_GETITEMRECT, WPARAM(i), LPARAM(r))); }
};

// Position of the iteration over selected rows: row index + 1, 0 at the end.
typedef struct AfxPosition* POSITION;

class AFX_API CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    DWORD SetExtendedStyle(DWORD style) { return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style))); }
    DWORD GetExtendedStyle() const { return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    int InsertColumn(int column, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int column) { return BOOL(SendMessage(LVM_DELETECOLUMN, WPARAM(column))); }
    BOOL SetColumnWidth(int column, int width) { return BOOL(SendMessage(LVM_SETCOLUMNWIDTH, WPARAM(column), MAKELPARAM(width, 0))); }
    int GetColumnWidth(int column) const { return int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(column))); }
    CHeaderCtrl* GetHeaderCtrl() const;

    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(int item, LPCSTR text);
    int InsertItem(const LVITEMA* item) { return int(SendMessage(LVM_INSERTITEMA, 0, LPARAM(item))); }
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    CString GetItemText(int item, int subItem) const;
    BOOL SetItem(const LVITEMA* item) { return BOOL(SendMessage(LVM_SETITEMA, 0, LPARAM(item))); }
    BOOL GetItem(LVITEMA* item) const { return BOOL(SendMessage(LVM_GETITEMA, 0, LPARAM(item))); }
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL DeleteItem(int item) { return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(item))); }
    BOOL DeleteAllItems() { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const { return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask))); }
    // Check boxes (LVS_EX_CHECKBOXES): state image 2 is ticked, 1 clear.
    BOOL GetCheck(int item) const { return ((GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
    BOOL SetCheck(int item, BOOL check = TRUE) { return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK); }
    UINT GetSelectedCount() const { return UINT(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int item, int flags) const { return int(SendMessage(LVM_GETNEXTITEM, WPARAM(item), MAKELPARAM(flags, 0))); }
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    BOOL EnsureVisible(int item, BOOL partialOK) { return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), partialOK)); }
    BOOL GetItemRect(int item, LPRECT r, UINT code) const;
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) { return BOOL(SendMessage(LVM_SORTITEMS, WPARAM(data), LPARAM(compare))); }
    BOOL SetBkColor(COLORREF c) { return BOOL(SendMessage(LVM_SETBKCOLOR, 0, LPARAM(c))); }
    BOOL SetTextBkColor(COLORREF c) { return BOOL(SendMessage(LVM_SETTEXTBKCOLOR, 0, LPARAM(c))); }
    BOOL SetTextColor(COLORREF c) { return BOOL(SendMessage(LVM_SETTEXTCOLOR, 0, LPARAM(c))); }
    HIMAGELIST SetImageList(HIMAGELIST list, int type) { return HIMAGELIST(SendMessage(LVM_SETIMAGELIST, WPARAM(type), LPARAM(list))); }
};
