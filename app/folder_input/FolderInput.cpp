#include "app/folder_input/FolderInput.h"

#include "app/folder_input/DroppedFolder.h"
#include "app/folder_input/PickFolder.h"

FolderInput::FolderInput(CVolWinControl& pathBox, CVolWinControl& statusLabel)
    : pathBox_(pathBox), statusLabel_(statusLabel) {}

void FolderInput::ChooseFolder() {
    ClearPathAndStatus();
    const CWString folder = PickFolder();
    pathBox_.SetText(folder.GetText());
}

void FolderInput::TakeDrop(const CMStringArray& paths) {
    ClearPathAndStatus();
    const CWString folder = DroppedFolder(paths);
    if (!folder.IsEmpty()) {
        pathBox_.SetText(folder.GetText());
    }
}

void FolderInput::ClearPathAndStatus() {
    pathBox_.SetText(u"");
    statusLabel_.SetText(u"");
}
