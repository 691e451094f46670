#include "app/main_form/MainForm.h"

#include <iterator>

#include "app/export/ExportFileList.h"
#include "app/export/ExportOutcomeText.h"
#include "app/export/filesystem/FilePath.h"
#include "app/folder_input/FolderInput.h"
#include "app/main_form/EventBoundary.h"
#include "app/main_form/MainFormLayout.h"
#include "appsvc/DisplayMetrics.h"
#include "appsvc/KeyCode.h"
#include "ui/SystemColor.h"

MainForm::MainForm() {
    eventTarget_.Attach(new CVolEventObjectPointer(this));
    SetText(MAIN_FORM_TITLE);
}

// The holder is cleared before anything else goes: it waits for a handler still running and makes
// every later event of the controls call nothing. The controls then go in reverse member order (C++
// member destruction), each releasing its bindings, and last the form part with its window.
MainForm::~MainForm() {
    MarkDestroying();
    export_.Abandon();  // normally done when the window went; without a window, nothing waits here
    if (CVolEventObjectPointer* holder = GetEventHolder()) {
        holder->ClearTarget();
    }
    eventTarget_.Attach(nullptr);
}

const CVolClassInfo& MainForm::ClassInfo() {
    static const CVolClassInfo info("MainForm", &CVolWinForm::ClassInfo(), &CreateVolObject<MainForm>);
    return info;
}

const CVolClassInfo& MainForm::GetClassInfo() const {
    return ClassInfo();
}

bool MainForm::IsEqual(const CVolObject& other) const {
    return CVolWinForm::IsEqual(other) && &other == this;
}

bool MainForm::Assign(const CVolObject& other) {
    if (&other == this) {
        return true;
    }
    if (!CVolWinForm::Assign(other)) {  // class test, PrepareReset, the form part
        return false;
    }
    const auto& form = static_cast<const MainForm&>(other);
    statusLabel_.Assign(form.statusLabel_);
    generateButton_.Assign(form.generateButton_);
    subfoldersCheckBox_.Assign(form.subfoldersCheckBox_);
    chooseFolderButton_.Assign(form.chooseFolderButton_);
    pathBox_.Assign(form.pathBox_);
    descriptionLabel_.Assign(form.descriptionLabel_);
    return true;
}

void MainForm::Reset() {
    MainForm* fresh = new MainForm;
    Assign(*fresh);
    fresh->Destroy();
}

void MainForm::LoadFromStream(CVolInStream& input) {
    if (!input.IsGood()) {
        return;
    }
    CVolWinForm::LoadFromStream(input);
    statusLabel_.LoadFromStream(input);
    generateButton_.LoadFromStream(input);
    subfoldersCheckBox_.LoadFromStream(input);
    chooseFolderButton_.LoadFromStream(input);
    pathBox_.LoadFromStream(input);
    descriptionLabel_.LoadFromStream(input);
    eventTarget_.LoadFromStream(input);
}

void MainForm::SaveToStream(CVolOutStream& output) const {
    if (!output.IsGood()) {
        return;
    }
    CVolWinForm::SaveToStream(output);
    statusLabel_.SaveToStream(output);
    generateButton_.SaveToStream(output);
    subfoldersCheckBox_.SaveToStream(output);
    chooseFolderButton_.SaveToStream(output);
    pathBox_.SaveToStream(output);
    descriptionLabel_.SaveToStream(output);
    eventTarget_.SaveToStream(output);
}

std::int32_t MainForm::DefaultClientWidth() const {
    return ScaleToDevice(MAIN_FORM_CLIENT_WIDTH);
}

std::int32_t MainForm::DefaultClientHeight() const {
    return ScaleToDevice(MAIN_FORM_CLIENT_HEIGHT);
}

void MainForm::CreateChildren() {
    AcceptDroppedFiles();
    WireEvents();
    CVolWinControl* const controls[] = {&statusLabel_,        &generateButton_, &subfoldersCheckBox_,
                                        &chooseFolderButton_, &pathBox_,        &descriptionLabel_};
    static_assert(std::size(controls) == std::size(MAIN_FORM_CONTROLS));
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        PrepareChild(*controls[i], MAIN_FORM_CONTROLS[i]);
        CreateChild(*controls[i], MAIN_FORM_CONTROLS[i]);
        if (controls[i] == &pathBox_) {
            pathBox_.AcceptDroppedFiles();
        }
    }
}

void MainForm::WireEvents() {
    CVolEventObjectPointer* holder = GetEventHolder();
    BindEvent(FilesDroppedEvent(), &MainForm::OnFormFilesDropped, holder);
    generateButton_.BindEvent(generateButton_.ClickedEvent(), &MainForm::OnButtonClicked, holder);
    chooseFolderButton_.BindEvent(chooseFolderButton_.ClickedEvent(), &MainForm::OnButtonClicked, holder);
    pathBox_.BindEvent(pathBox_.FilesDroppedEvent(), &MainForm::OnPathBoxFilesDropped, holder);
    statusLabel_.BindEvent(statusLabel_.LeftUpEvent(), &MainForm::OnStatusClicked, holder);
    CVolWinControl* const focusable[] = {this, &generateButton_, &subfoldersCheckBox_, &chooseFolderButton_,
                                         &pathBox_};
    for (CVolWinControl* control : focusable) {
        control->BindEvent(control->KeyDownEvent(), &MainForm::OnKeyDown, holder);
    }
}

bool MainForm::OnMessage(MessageRecord& record) {
    // A registered message: not a constant, and 0 when it could not be registered.
    if (const UINT buttonCreated = TaskbarProgress::ButtonCreatedMessage();
        buttonCreated != 0 && record.message == buttonCreated) {
        taskbar_.OnButtonCreated(GetWindow());
        return true;
    }
    switch (record.message) {
        case WM_EXPORT_PROGRESS:
            ShowProgress();
            return true;
        case WM_EXPORT_FINISHED:
            RunAtEventBoundary(statusLabel_, [this] { EndExport(); });
            return true;
        case WM_CLOSE:
            if (export_.IsRunning()) {
                closeRequested_ = true;
                export_.Cancel();
                return true;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(record.wParam) != WA_INACTIVE) {
                taskbar_.OnActivated();
            }
            break;
        case WM_DESTROY:
            // The controls' windows go right after the form's: the thread must have ended by then.
            export_.Abandon();
            break;
        default:
            break;
    }
    return CVolWinForm::OnMessage(record);
}

std::int32_t MainForm::OnButtonClicked(CVolObject* target, CVolWinControl* sender,
                                       std::uint32_t /*extraValue*/) {
    auto& form = static_cast<MainForm&>(*target);
    if (sender == &form.generateButton_ && form.export_.IsRunning()) {
        form.export_.Cancel();
    } else if (sender == &form.generateButton_) {
        RunAtEventBoundary(form.statusLabel_, [&form] { form.Generate(); });
    } else if (sender == &form.chooseFolderButton_ && !form.export_.IsRunning()) {
        RunAtEventBoundary(form.statusLabel_, [&form] { form.ChooseFolder(); });
    }
    return 0;
}

std::int32_t MainForm::OnPathBoxFilesDropped(CVolObject* target, CVolWinControl* sender,
                                             std::uint32_t /*extraValue*/, const CMStringArray& paths) {
    auto& form = static_cast<MainForm&>(*target);
    if (sender == &form.pathBox_) {
        RunAtEventBoundary(form.statusLabel_, [&form, &paths] { form.TakeDrop(paths); });
    }
    return 0;
}

std::int32_t MainForm::OnFormFilesDropped(CVolObject* target, CVolWinControl* /*sender*/,
                                          std::uint32_t /*extraValue*/, const CMStringArray& paths) {
    auto& form = static_cast<MainForm&>(*target);
    RunAtEventBoundary(form.statusLabel_, [&form, &paths] { form.TakeDrop(paths); });
    return 0;
}

std::int32_t MainForm::OnStatusClicked(CVolObject* target, CVolWinControl* /*sender*/,
                                       std::uint32_t /*extraValue*/, std::int32_t /*x*/, std::int32_t /*y*/,
                                       std::int32_t /*keys*/) {
    auto& form = static_cast<MainForm&>(*target);
    RunAtEventBoundary(form.statusLabel_, [&form] { form.OpenLinkedWorkbook(); });
    return 0;
}

std::int32_t MainForm::OnKeyDown(CVolObject* target, CVolWinControl* /*sender*/, std::uint32_t /*extraValue*/,
                                 std::int32_t key, std::int32_t modifiers) {
    auto& form = static_cast<MainForm&>(*target);
    if (key != 'O' || modifiers != static_cast<std::int32_t>(KEYMOD_CTRL) || form.linkedWorkbook_.empty()) {
        return 0;
    }
    RunAtEventBoundary(form.statusLabel_, [&form] { form.OpenLinkedWorkbook(); });
    return 1;
}

CVolEventObjectPointer* MainForm::GetEventHolder() const {
    return static_cast<CVolEventObjectPointer*>(eventTarget_.GetRef());
}

void MainForm::PrepareChild(CVolWinControl& control, const ControlLayout& layout) {
    if (layout.text[0] != u'\0') {
        control.SetText(layout.text);
    }
    if (&control == &statusLabel_ || &control == &descriptionLabel_) {
        static_cast<CVolWinLabel&>(control).SetHorizontalAlignment(CVWnd_Label::kAlignCenter);
    }
    control.SetFontFromText(layout.font);
}

void MainForm::CreateChild(CVolWinControl& control, const ControlLayout& layout) {
    ControlCreateInfo info;
    info.parent = GetWindow();
    info.owner = info.parent != nullptr ? this : nullptr;
    info.x = ScaleToDevice(layout.x);
    info.y = ScaleToDevice(layout.y);
    info.width = ScaleToDevice(layout.width);
    info.height = ScaleToDevice(layout.height);
    info.id = layout.id;
    info.layer = ControlCreateInfo::kAllPages;
    control.CreateControl(info);  // a control without a window stays without one; the others go on
}

// Without a window nobody could hear the thread's messages: the export then runs here.
void MainForm::Generate() {
    SetLink(u"");
    statusLabel_.SetText(u"");
    exportFolder_ = pathBox_.GetText();
    exportSubfolders_ = subfoldersCheckBox_.IsChecked();  // no window reads as unticked
    if (GetWindow() == nullptr) {
        ShowOutcome(ExportFileList(exportFolder_, exportSubfolders_));
        return;
    }
    StartExport(u"");
}

// An empty `outputPath`: "文件清单_.xlsx" in the folder itself.
void MainForm::StartExport(const std::u16string& outputPath) {
    exportOutputPath_ = outputPath;
    export_.Start(GetWindow(), exportFolder_, exportSubfolders_, outputPath);
    SetExporting(true);
    statusLabel_.SetTextColor(SYSTEM_COLOR);
    statusLabel_.SetText(EXPORT_STARTED_TEXT);
    taskbar_.ShowIndeterminate();
}

// A report that arrives after the end (the thread posted it just before) changes nothing.
void MainForm::ShowProgress() {
    if (!export_.IsRunning()) {
        return;
    }
    const ExportProgress progress = export_.TakeProgress();
    CWString text;
    switch (progress.phase) {
        case ExportPhase::Listing:
            text.Format(FILES_LISTED_FORMAT, static_cast<long long>(progress.foldersRead),
                        static_cast<long long>(progress.filesFound));
            break;
        case ExportPhase::Writing:
            text.Format(ROWS_WRITTEN_FORMAT, static_cast<long long>(progress.rowsWritten));
            break;
        case ExportPhase::Saving:
            text.Format(SAVING_FORMAT, std::u16string(progress.workbookName).c_str());
            break;
    }
    statusLabel_.SetText(text.GetText());
    // The number of files is known only once the listing has ended, and the listing runs at most a short
    // queue ahead of the rows: a fraction would show only for the last moment. The button moves without
    // one throughout.
    taskbar_.ShowIndeterminate();
}

// The controls come back first, so that an exception out of the export still leaves a usable window.
void MainForm::EndExport() {
    if (!export_.IsRunning()) {
        return;
    }
    SetExporting(false);
    const bool closing = closeRequested_;
    if (closeRequested_) {
        closeRequested_ = false;
        PostMessageW(GetWindow(), WM_CLOSE, 0, 0);
    }
    const ExportOutcome outcome = export_.Finish();
    // Only the folder's own place is given up for another; a place the user chose is not asked again.
    if (outcome.kind == ExportOutcomeKind::FolderRefused && exportOutputPath_.empty() && !closing) {
        AskForAnotherPlace(outcome);
        return;
    }
    ShowOutcome(outcome);
}

void MainForm::ShowOutcome(const ExportOutcome& outcome) {
    const bool success = IsExportSuccess(outcome);
    statusLabel_.SetTextColor(success ? STATUS_DONE_COLOR : STATUS_FAILURE_COLOR);
    statusLabel_.SetText(ExportOutcomeText(outcome).GetText());
    SetLink(success ? outcome.workbookPath : std::u16string());
    if (success || outcome.kind == ExportOutcomeKind::Cancelled) {
        taskbar_.Clear();
    } else {
        taskbar_.ShowError();
    }
}

// The dialog is modal to this window, which meanwhile takes no input; the status line still says the
// export is under way.
void MainForm::AskForAnotherPlace(const ExportOutcome& refused) {
    taskbar_.Clear();
    std::u16string chosen;
    const SaveChoice choice = PickSaveFile(GetWindow(), chosen, saveDialogSeam_);
    if (!IsWindow(GetWindow())) {
        return;  // the window was closed from outside (the taskbar) while the dialog was open
    }
    switch (choice) {
        case SaveChoice::Chosen:
            StartExport(chosen);
            return;
        case SaveChoice::Cancelled: {
            ExportOutcome cancelled;
            cancelled.kind = ExportOutcomeKind::Cancelled;
            ShowOutcome(cancelled);
            return;
        }
        case SaveChoice::Unavailable:
            break;
    }
    ShowOutcome(refused);
}

// The hand over the status line says it can be clicked.
void MainForm::SetLink(const std::u16string& workbook) {
    linkedWorkbook_ = workbook;
    statusLabel_.SetCursor(workbook.empty() ? nullptr : LoadCursorW(nullptr, IDC_HAND));
}

// Nothing is lost when the workbook cannot be opened: the user hears why, and it stays where it is.
void MainForm::OpenLinkedWorkbook() {
    if (linkedWorkbook_.empty()) {
        return;
    }
    if (OpenWorkbook(GetWindow(), linkedWorkbook_, shellSeam_)) {
        return;
    }
    const std::size_t separator = LastSeparator(linkedWorkbook_);
    const std::u16string name =
        separator == std::u16string::npos ? linkedWorkbook_ : linkedWorkbook_.substr(separator + 1);
    SetLink(u"");
    statusLabel_.SetTextColor(STATUS_FAILURE_COLOR);
    statusLabel_.SetText((std::u16string(OPEN_FAILED_PREFIX) + name).c_str());
}

void MainForm::SetExporting(bool exporting) {
    generateButton_.SetText(exporting ? CANCEL_BUTTON_TEXT : GENERATE_BUTTON_TEXT);
    CVolWinControl* const inputs[] = {&pathBox_, &subfoldersCheckBox_, &chooseFolderButton_};
    for (CVolWinControl* control : inputs) {
        if (control->GetWindow() != nullptr) {
            EnableWindow(control->GetWindow(), exporting ? FALSE : TRUE);
        }
    }
}

void MainForm::ChooseFolder() {
    SetLink(u"");
    FolderInput(pathBox_, statusLabel_).ChooseFolder();
}

void MainForm::TakeDrop(const CMStringArray& paths) {
    if (export_.IsRunning()) {
        return;  // the folder of the running export stays in the path box
    }
    SetLink(u"");
    FolderInput(pathBox_, statusLabel_).TakeDrop(paths);
}
