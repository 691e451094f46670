#pragma once

// Releases one COM reference when the scope ends; the pointer may be null. The dialogs of the folder
// input release every object they obtained, and only those, whichever way they end.
template <class Interface>
class ReleaseOnExit {
public:
    explicit ReleaseOnExit(Interface* object) : object_(object) {}
    ReleaseOnExit(const ReleaseOnExit&) = delete;
    ReleaseOnExit& operator=(const ReleaseOnExit&) = delete;
    ~ReleaseOnExit() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }

private:
    Interface* object_;
};
