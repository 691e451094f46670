#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appsvc/Win32Api.h"

#include "tests/ui/ShellDrop_win.h"
#include "ui/CVolWinForm.h"
#include "ui/ControlCreateInfo.h"

// Dispatches everything waiting in this thread's queue (a quit message is left in place).
void PumpMessages();

// A key pressed and released as the keyboard delivers it to the focused window `target`, then the
// queue pumped as the main loop pumps it: the framework's pre-translation first.
void PressKey(HWND target, UINT key);

// Drops every WM_QUIT waiting in the queue; true when there was one.
bool TakeQuitMessage();

// A creation record as the application fills one: parent, owner, position, size, id, layer -1.
ControlCreateInfo MakeCreateInfo(HWND parent, CVolWinControl* owner, int x, int y, int width, int height,
                                 int id = 0);

// A record for a top-level form of default position and size.
ControlCreateInfo MakeDefaultFormInfo();

// The window text of `window` as UTF-16.
std::u16string WindowText(HWND window);

// A form with a chosen default client size and optional children made by CreateChildren.
class TestForm : public CVolWinForm {
public:
    TestForm(std::int32_t clientWidth = 300, std::int32_t clientHeight = 200)
        : clientWidth_(clientWidth), clientHeight_(clientHeight) {}

    std::int32_t DefaultClientWidth() const override { return clientWidth_; }
    std::int32_t DefaultClientHeight() const override { return clientHeight_; }
    void CreateChildren() override;

    // Called by CreateChildren with the form's window (which exists by then).
    void (*onCreateChildren)(TestForm& form) = nullptr;
    int createChildrenCalls = 0;
    HWND windowDuringCreateChildren = nullptr;

private:
    std::int32_t clientWidth_;
    std::int32_t clientHeight_;
};

// A picture as the image loader makes one for an image with transparency: a 32-bit DIB section of
// premultiplied pixels. Its left half is `left` (blue, green, red, alpha), its right half fully
// transparent. The caller owns the bitmap.
HBITMAP HalfTransparentPicture(int width, int height, RGBQUAD left);

// True while a global memory handle made by MakeDrop has not been freed.
bool IsDropAlive(HDROP drop);
