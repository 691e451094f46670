#pragma once

#include "runtime/CMStringArray.h"
#include "ui/CVolWinControl.h"

// The two ways of naming a folder that replace the whole text of the main form's path box: the folder
// picker and a drop. Typing and pasting are the path box's own editing and need nothing here.
//
// Both first clear the path box and then the status line, so a stale message never stands beside a
// new folder. The controls are not owned; the form that embeds them makes a FolderInput per event.
class FolderInput {
public:
    // Construction
    FolderInput(CVolWinControl& pathBox, CVolWinControl& statusLabel);

    // Operations
    // Asks with PickFolder and puts the answer into the path box, also an empty one: a cancelled
    // picker leaves the path box empty, not with what was there before.
    void ChooseFolder();
    // Puts the first dropped name into the path box when it is an existing folder; any other drop
    // leaves the path box empty, without a message.
    void TakeDrop(const CMStringArray& paths);

private:
    void ClearPathAndStatus();

    CVolWinControl& pathBox_;
    CVolWinControl& statusLabel_;
};
