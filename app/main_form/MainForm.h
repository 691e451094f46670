#pragma once

#include <cstdint>

#include "app/folder_input/PickSaveFile.h"
#include "app/main_form/BackgroundExport.h"
#include "app/main_form/OpenWorkbook.h"
#include "app/main_form/TaskbarProgress.h"
#include "runtime/CMStringArray.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CVolRefObject.h"
#include "ui/CVolEventObjectPointer.h"
#include "ui/CVolWinButton.h"
#include "ui/CVolWinCheckBox.h"
#include "ui/CVolWinEdit.h"
#include "ui/CVolWinForm.h"
#include "ui/CVolWinLabel.h"

struct ControlLayout;

// The program's only window: a description line, the path box, the check box "子文件夹", the buttons
// "选择文件夹" and "生成EXCEL", and the status line. The layout is designed at 96 DPI
// (MainFormLayout.h) and scaled once, when the windows are made.
//
// "生成EXCEL" runs the export on a thread of its own (BackgroundExport), so the window keeps answering:
// meanwhile the status line shows progress, the button reads "取消" and stops the export, and the path
// box, the check box, "选择文件夹" and drops are out of use. Closing the window cancels the export
// and closes once it has ended. The taskbar button shows the export's progress too.
//
// A green status line is a link to the workbook just written: a click or Ctrl+O opens it. When the
// folder lets no file be created, the save dialog asks for another place and the export runs again
// for that file.
//
// The controls are embedded by value; their windows exist from CreateControl until the form's window
// is destroyed. Every event binding of the form goes through one holder (eventTarget), which the
// destructor clears first, so no handler runs on a form that is being torn down.
class MainForm : public CVolWinForm {
public:
    // Construction: the controls and the event holder, no window; the title is stored for the window.
    MainForm();
    // Copies go through Clone and Assign, which keep the object model's rules.
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;
    ~MainForm() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    // From "生成EXCEL" until the outcome is shown.
    bool IsExporting() const { return export_.IsRunning(); }
    // Where tests step into the exports this window starts (ExportOptions); none in the program.
    void SetExportSeams(const ListingSeam* listing, const PlacementSeam* placement) {
        export_.SetSeams(listing, placement);
    }
    // Where tests step in for the shell, the save dialog and the taskbar; none in the program.
    void SetShellSeams(const ShellSeam* shell, const SaveDialogSeam* saveDialog, const TaskbarSeam* taskbar) {
        shellSeam_ = shell;
        saveDialogSeam_ = saveDialog;
        taskbar_.SetSeam(taskbar);
    }
    // The workbook the status line leads to, empty when it is no link.
    const std::u16string& LinkedWorkbook() const { return linkedWorkbook_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
    // Same class, equal as a control, and the very same object.
    bool IsEqual(const CVolObject& other) const override;
    // The form part and each control in member order. The event holder stays this form's own: it must
    // lead to this form, whatever form was copied.
    bool Assign(const CVolObject& other) override;
    void Reset() override;
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

    // Overridables of the container
    std::int32_t DefaultClientWidth() const override;
    std::int32_t DefaultClientHeight() const override;
    // Makes the six control windows while the form's window is being created.
    void CreateChildren() override;

    // Overridable, slot 30: binds the event handlers (the buttons, the drops, the status line's click and
    // Ctrl+O); called by CreateChildren.
    virtual void WireEvents();

    // IContainerEventListener: the export's reports and its end; closing waits for the export's end;
    // the window's destruction stops the export before the controls go.
    bool OnMessage(MessageRecord& record) override;

    // Event handlers; each returns 0.
    // "生成EXCEL" starts the export (while one runs: cancels it), "选择文件夹" the folder picker (not while
    // exporting); any other sender does nothing.
    static std::int32_t OnButtonClicked(CVolObject* target, CVolWinControl* sender, std::uint32_t extraValue);
    static std::int32_t OnPathBoxFilesDropped(CVolObject* target, CVolWinControl* sender,
                                              std::uint32_t extraValue, const CMStringArray& paths);
    static std::int32_t OnFormFilesDropped(CVolObject* target, CVolWinControl* sender,
                                           std::uint32_t extraValue, const CMStringArray& paths);
    // A click on the status line; opens the workbook while it is a link.
    static std::int32_t OnStatusClicked(CVolObject* target, CVolWinControl* sender, std::uint32_t extraValue,
                                        std::int32_t x, std::int32_t y, std::int32_t keys);
    // Ctrl+O wherever the focus is: the status line's link, which is no tab stop. Answers 1 when taken.
    static std::int32_t OnKeyDown(CVolObject* target, CVolWinControl* sender, std::uint32_t extraValue,
                                  std::int32_t key, std::int32_t modifiers);

private:
    CVolEventObjectPointer* GetEventHolder() const;
    // The table's settings that precede the window: text, alignment, font.
    void PrepareChild(CVolWinControl& control, const ControlLayout& layout);
    void CreateChild(CVolWinControl& control, const ControlLayout& layout);
    void Generate();
    void StartExport(const std::u16string& outputPath);
    void ShowProgress();
    void EndExport();
    void ShowOutcome(const ExportOutcome& outcome);
    // The folder refused the workbook: the save dialog names another place, and the export runs again.
    void AskForAnotherPlace(const ExportOutcome& refused);
    void SetLink(const std::u16string& workbook);
    void OpenLinkedWorkbook();
    // The button's text and which controls take input, for an export running or not.
    void SetExporting(bool exporting);
    void ChooseFolder();
    void TakeDrop(const CMStringArray& paths);

    CVolWinLabel statusLabel_;
    CVolWinButton generateButton_;
    CVolWinCheckBox subfoldersCheckBox_;
    CVolWinButton chooseFolderButton_;
    CVolWinEdit pathBox_;
    CVolWinLabel descriptionLabel_;
    CVolRefObject eventTarget_;  // one reference to this form's CVolEventObjectPointer
    BackgroundExport export_;
    bool closeRequested_ = false;  // the window was asked to close while exporting
    // What the running export was started with: the save dialog starts it again with another place.
    CWString exportFolder_;
    bool exportSubfolders_ = false;
    std::u16string exportOutputPath_;
    std::u16string linkedWorkbook_;
    TaskbarProgress taskbar_;
    const ShellSeam* shellSeam_ = nullptr;
    const SaveDialogSeam* saveDialogSeam_ = nullptr;
};
