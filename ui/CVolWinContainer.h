#pragma once

#include <cstdint>

#include "ui/CVolWinControl.h"

// A control that holds other controls: the size defaults of its window and the hook that creates its
// children while its window is being created. Abstract in use: panels and forms make its windows.
class CVolWinContainer : public CVolWinControl {
public:
    // Construction
    CVolWinContainer(const CVolWinContainer& other);
    CVolWinContainer& operator=(const CVolWinContainer& other);
    ~CVolWinContainer() override;

    static const CVolClassInfo& ClassInfo();

    // Attributes: the outer size of the window, computed at creation.
    std::int32_t GetWindowWidth() const { return windowWidth_; }
    std::int32_t GetWindowHeight() const { return windowHeight_; }

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
    bool Assign(const CVolObject& other) override;

    // Overridables, slots 26 to 28
    virtual std::int32_t DefaultClientWidth() const;
    virtual std::int32_t DefaultClientHeight() const;
    virtual void CreateChildren();

protected:
    CVolWinContainer() = default;
    void SetWindowSize(std::int32_t width, std::int32_t height) {
        windowWidth_ = width;
        windowHeight_ = height;
    }

private:
    std::int32_t windowWidth_ = 0;
    std::int32_t windowHeight_ = 0;
};
