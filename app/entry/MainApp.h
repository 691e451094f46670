#pragma once

#include "app/main_form/MainForm.h"
#include "appsvc/CVolWinApp.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolOutStream.h"

// The application object: it embeds the program's one window, the main form, and creates that
// form's window when the program starts. Constructing it makes it the current application object and
// constructs the form, which makes no window yet.
class MainApp : public CVolWinApp {
public:
    // Construction
    MainApp() = default;
    // Copies go through Clone and Assign, which keep the object model's rules.
    MainApp(const MainApp&) = delete;
    MainApp& operator=(const MainApp&) = delete;
    ~MainApp() override = default;

    static const CVolClassInfo& ClassInfo();

    // Attributes
    MainForm& GetMainForm() { return mainForm_; }
    const MainForm& GetMainForm() const { return mainForm_; }

    // Operations
    // Creates the main form's window at the default position and size and makes it the module's main
    // window when it was made; a folder named as the program's first argument then stands in the path
    // box, as if it had been dropped on the window (nothing is exported until the button is pressed).
    // Always true: a form without a window simply ends the program.
    // Exceptions raised while the form is created pass through to the caller (RunGuarded).
    bool RunMain();

    // Overridables of the object model
    const CVolClassInfo& GetClassInfo() const override;
    // Same class, same null flag and tag, and the very same object.
    bool IsEqual(const CVolObject& other) const override;
    bool Assign(const CVolObject& other) override;
    // Only the embedded form is renewed.
    void Reset() override;
    void LoadFromStream(CVolInStream& input) override;
    void SaveToStream(CVolOutStream& output) const override;

private:
    void TakeStartFolder();

    MainForm mainForm_;
};
