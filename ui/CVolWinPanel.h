#pragma once

#include <cstdint>

#include "ui/CVWnd_Container.h"
#include "ui/CVolWinContainer.h"
#include "ui/IContainerEventListener.h"

// A container with a window of its own (CVWnd_Container) and the eight container events.
class CVolWinPanel : public CVolWinContainer, public IContainerEventListener {
public:
    using CommandEventSlot = EventSlot<std::int32_t>;  // command id

    // Construction: the bridge and native object, no window.
    CVolWinPanel();
    CVolWinPanel(const CVolWinPanel& other);
    CVolWinPanel& operator=(const CVolWinPanel& other);
    ~CVolWinPanel() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    CVWnd_Container* GetContainerWindow() const { return static_cast<CVWnd_Container*>(GetNativeObject()); }

    // The container events, index 0 to 7.
    SimpleEventSlot& ContainerCreatedEvent() { return containerCreated_; }
    SimpleEventSlot& DestroyedEvent() { return destroyed_; }
    SimpleEventSlot& ThirdEvent() { return third_; }
    SimpleEventSlot& MovedEvent() { return moved_; }
    SimpleEventSlot& ResizedEvent() { return resized_; }
    SimpleEventSlot& ShownEvent() { return shown_; }
    SimpleEventSlot& HiddenEvent() { return hidden_; }
    CommandEventSlot& CommandEvent() { return command_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;

    // Overridables of the control
    bool CreateControl(ControlCreateInfo& info) override;
    // Also attaches the panel's listener: its window needs it to create the children.
    void PrepareCreateInfo(ControlCreateInfo& info) override;
    void AttachListener() override;
    void DetachListener() override;
    bool HasListener() const override;

    // IContainerEventListener
    bool OnMessage(MessageRecord& record) override;
    void OnCreate() override;
    void OnDestroy() override;
    void OnThirdEvent() override;
    void OnSize() override;
    void OnShow(bool shown) override;
    void OnMove() override;
    bool OnCommand(std::int32_t commandId) override;

protected:
    // For forms, which bring a bridge of their own kind (the panel takes over the reference).
    explicit CVolWinPanel(CWtlWndObject* bridge);

private:
    SimpleEventSlot containerCreated_;
    SimpleEventSlot destroyed_;
    SimpleEventSlot third_;
    SimpleEventSlot moved_;
    SimpleEventSlot resized_;
    SimpleEventSlot shown_;
    SimpleEventSlot hidden_;
    CommandEventSlot command_;
};
