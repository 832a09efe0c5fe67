// CXTVirtualList: a report list that shows a CXTRowStore instead of holding
// rows of its own (an owner-data list: the control asks for the texts of
// the rows it draws). The list still answers the item messages other
// programs send it: the count, the texts of every column, and the check
// box as state image 1 (clear) or 2 (ticked), read and set; a tick set that
// way, by a click or by the space bar reaches the store.
#pragma once

#include <xtlist/XTListCtrl.h>
#include <xtlist/XTRowStore.h>

class CXTVirtualList : public CXTListCtrl {
public:
    CXTVirtualList();
    ~CXTVirtualList() override;

    // Replaces the dialog's list control `id` with an owner-data list of
    // the same place, styles and tab order, and takes it over.
    BOOL TakeOver(CWnd* parent, UINT id);
    void SetStore(CXTRowStore* store) { m_store = store; }
    CXTRowStore* Store() const { return m_store; }

    // Shows the rows the store holds now. New rows at the end leave the
    // scroll position and the rows shown alone; `all` redraws every row
    // (after a sort, a removal or a change of ticks).
    void SyncCount(bool all = false);
    int ShownCount() const { return m_shown; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    LRESULT OnSetItemState(WPARAM item, const LVITEMA* change);
    UINT StateImage(int row) const;
    void ToggleTick(int row);
    bool OnStateIcon(LPARAM point, int& row) const;
    int ItemText(int row, LVITEMA* item) const;
    int ItemText(int row, LVITEMW* item) const;
    // Fills in what the control asks for a row it draws or is asked about.
    template <class Item> void AnswerDispInfo(Item& item) const
    {
        if (item.mask & LVIF_TEXT) ItemText(item.iItem, &item);
        if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_STATEIMAGEMASK))
            item.state = (item.state & ~UINT(LVIS_STATEIMAGEMASK)) | StateImage(item.iItem);
    }

    CXTRowStore* m_store = nullptr;
    int m_shown = 0;
};
