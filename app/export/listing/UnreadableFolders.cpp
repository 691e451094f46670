#include "app/export/listing/UnreadableFolders.h"

#include "app/export/filesystem/NameCoding.h"

bool SkipFailedSubfolder(std::u16string_view folderPath, const FileSystemError& error,
                         std::vector<FileSystemError>* skipped) {
    switch (ClassifyFolderFailure(error.code)) {
        case FolderFailure::Vanished:
            return true;
        case FolderFailure::Unreadable:
            if (skipped != nullptr) {
                FileSystemError folder = error;
                folder.path = ReplaceLoneSurrogates(folderPath);
                skipped->push_back(std::move(folder));
            }
            return true;
        case FolderFailure::Fatal:
            break;
    }
    return false;
}
