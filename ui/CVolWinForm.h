#pragma once

#include <cstdint>

#include "ui/CVWnd_WinForm.h"
#include "ui/CVolWinPanel.h"
#include "ui/IWinFormEventListener.h"

// A top-level container: the application's window (CVWnd_WinForm). Adds the form events, modal
// showing and the frame settings. A form's size defaults come from DefaultClientWidth and
// DefaultClientHeight; its children are made by CreateChildren while its window is being created.
class CVolWinForm : public CVolWinPanel, public IWinFormEventListener {
public:
    using MenuSelectEventSlot = EventSlot<std::int32_t>;  // item id
    using TrayIconEventSlot = EventSlot<std::int32_t>;    // 1 left up, 2 left double click, 3 right
    using MinMaxInfoEventSlot = EventSlot<MINMAXINFO*>;

    // Construction: the bridge and native object, no window.
    CVolWinForm();
    CVolWinForm(const CVolWinForm& other);
    CVolWinForm& operator=(const CVolWinForm& other);
    ~CVolWinForm() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVWnd_WinForm* GetFormWindow() const { return static_cast<CVWnd_WinForm*>(GetNativeObject()); }

    // Operations
    // Ends the form's running modal loop with `result`.
    void EndModal(std::int32_t result);

    // The form events, index 0 to 9. A form's menu and accelerator commands arrive at FormCommand,
    // not at the container's Command.
    CommandEventSlot& FormCommandEvent() { return formCommand_; }
    MenuSelectEventSlot& MenuSelectEvent() { return menuSelect_; }
    SimpleEventSlot& ClosingEvent() { return closing_; }
    SimpleEventSlot& QueryCloseEvent() { return queryClose_; }
    SimpleEventSlot& FirstActivatedEvent() { return firstActivated_; }
    SimpleEventSlot& ActivatedEvent() { return activated_; }
    SimpleEventSlot& DeactivatedEvent() { return deactivated_; }
    TrayIconEventSlot& TrayIconEvent() { return trayIcon_; }
    MinMaxInfoEventSlot& MinMaxInfoEvent() { return minMaxInfo_; }
    SimpleEventSlot& ModalStartingEvent() { return modalStarting_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;

    // Overridables of the control
    // Makes the window; with a modal record, then runs the modal loop and stores its result in the
    // record (the window is gone afterwards).
    bool CreateControl(ControlCreateInfo& info) override;
    void PrepareCreateInfo(ControlCreateInfo& info) override;
    // Default size: the window size for the default client size (0 × 0 when either is not positive);
    // default position: 0 for a child window, centred on the primary screen otherwise.
    void AdjustCreateInfo(ControlCreateInfo& info) override;
    void AttachListener() override;
    void DetachListener() override;
    bool HasListener() const override;

    // Overridable, slot 29: answered to listener slot 8.
    virtual bool FormHook() const;

    // IContainerEventListener, for both listener bases
    bool OnMessage(MessageRecord& record) override;
    void OnCreate() override;
    void OnDestroy() override;
    void OnThirdEvent() override;
    void OnSize() override;
    void OnShow(bool shown) override;
    void OnMove() override;
    bool OnCommand(std::int32_t commandId) override;

    // IWinFormEventListener
    bool OnFormHook() override;
    void OnMenuSelect(std::int32_t itemId) override;
    bool OnClosing() override;
    bool OnQueryClose() override;
    void OnFirstActivated() override;
    void OnActivated() override;
    void OnDeactivated() override;
    void OnTrayIcon(std::int32_t action) override;
    void OnMinMaxInfo(MINMAXINFO& info) override;
    void OnModalStarting() override;

private:
    // A close question nobody answers lets the form close.
    bool AskToClose(SimpleEventSlot& question);

    CommandEventSlot formCommand_;
    MenuSelectEventSlot menuSelect_;
    SimpleEventSlot closing_;
    SimpleEventSlot queryClose_;
    SimpleEventSlot firstActivated_;
    SimpleEventSlot activated_;
    SimpleEventSlot deactivated_;
    TrayIconEventSlot trayIcon_;
    MinMaxInfoEventSlot minMaxInfo_;
    SimpleEventSlot modalStarting_;
};
