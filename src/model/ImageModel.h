// The program's one image as the commands see it. The hidden buffer
// Picture2 holds the picture: captures and opened files write it, saving and
// printing read it, whole, whatever the window shows. The view Picture1
// shows the buffer's top-left part at 1:1.
#pragma once
#include "platform/ui/PictureBox.h"

namespace model {

class ImageModel {
public:
    virtual platform::PictureBox& Picture1() = 0;   // the view
    virtual platform::PictureBox& Picture2() = 0;   // the buffer: its drawing area is the picture
    // The window the image belongs to: owner of the messages and dialogs of
    // the commands that work on it.
    virtual HWND Owner() const = 0;

protected:
    ~ImageModel() = default;
};

}  // namespace model
