#pragma once
#include "animator/animator.h"

#include <windows.h>

// For the time of one slot's drawing, its area is the whole picture of the given contexts:
// the origin moves to the area's corner, and drawing is clipped to the area. A slot that is
// the whole window needs neither.
class SlotScope {
  public:
    SlotScope(const SceneSlot& slot, HDC first, HDC second = nullptr)
        : clipped_(slot.clip), dcs_{first, second} {
        if (!clipped_)
            return;
        for (HDC dc : dcs_) {
            if (dc) {
                SetViewportOrgEx(dc, slot.area.left, slot.area.top, nullptr);
                SelectClipRgn(dc, slot.clip.get());
            }
        }
    }
    ~SlotScope() {
        if (!clipped_)
            return;
        for (HDC dc : dcs_) {
            if (dc) {
                SetViewportOrgEx(dc, 0, 0, nullptr);
                SelectClipRgn(dc, nullptr);
            }
        }
    }
    SlotScope(const SlotScope&) = delete;
    SlotScope& operator=(const SlotScope&) = delete;

  private:
    bool clipped_;
    HDC dcs_[2];
};
