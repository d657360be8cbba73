#include "view/items.h"

#include "view/view_state.h"

#include <cstddef>

// A drag that holds an item of the list must not outlive a change of the
// list: it would point at another item, or past the end.
static void ForgetDraggedItem()
{
    if (gView.dragItem != &gView.newItem)
        gView.dragItem = nullptr;
}

void View_CommitNewItem()
{
    MeasureItem_UpdateHitRects(&gView.newItem);
    gView.items.push_back(gView.newItem);
}

void View_DeleteItem(int index)
{
    if (index < 0 || index >= (int)gView.items.size())
        return;
    ForgetDraggedItem();
    gView.items.erase(gView.items.begin() + index);
}

void View_ClearItems()
{
    std::vector<MeasureItem>().swap(gView.items);
}

int View_HitTest(int32_t x, int32_t y)
{
    for (size_t i = 0; i < gView.items.size(); i++)
        if (MeasureItem_IsHit(gView.items[i], x, y))
            return (int)i;
    return -1;
}

void Items_RemoveLast()
{
    if (gView.items.empty())
        return;
    ForgetDraggedItem();
    gView.items.pop_back();
    int32_t count = (int32_t)gView.items.size();
    if (gView.selected == count)
        gView.selected = -1;
    if (gView.hover == count)
        gView.hover = -1;
}

void Items_RemoveAll()
{
    ForgetDraggedItem();
    gView.items.clear();
    gView.selected = -1;
    gView.hover = -1;
}
