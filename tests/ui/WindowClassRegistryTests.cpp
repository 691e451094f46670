#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "appsvc/CVolAppInstance.h"
#include "ui/CVWnd_Base.h"
#include "ui/WindowClassRegistry.h"

namespace {

HINSTANCE Instance() {
    return GetAppInstance().GetInstanceHandle();
}

std::u16string ExpectedGeneratedName(const WindowClassDescription& description) {
    char text[32];
    std::snprintf(text, sizeof(text), "ATL:%016llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&description)));
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

TEST(WindowClassRegistry, RegistersOnceUnderAGeneratedNameAndListsTheAtom) {
    static WindowClassDescription description;
    description.style = CS_DBLCLKS;
    description.cursor = IDC_ARROW;
    description.procedure = &CVWnd_Base::WindowProcedure;
    const ATOM atom = WindowClassRegistry::Register(description, Instance());
    ASSERT_NE(atom, 0);
    EXPECT_EQ(WindowClassRegistry::Register(description, Instance()), atom);
    EXPECT_EQ(std::u16string(description.generatedName), ExpectedGeneratedName(description));
    const std::vector<ATOM> atoms = WindowClassRegistry::RegisteredAtoms();
    EXPECT_EQ(std::count(atoms.begin(), atoms.end(), atom), 1);

    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(
        GetClassInfoExW(Instance(), reinterpret_cast<const wchar_t*>(description.generatedName), &info));
    EXPECT_EQ(info.style & CS_GLOBALCLASS, 0u);
    EXPECT_EQ(info.style & CS_DBLCLKS, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.lpfnWndProc, &CVWnd_Base::WindowProcedure);
    EXPECT_EQ(description.baseProcedure, &DefWindowProcW);
}

TEST(WindowClassRegistry, SuperclassesAnExistingSystemClass) {
    static WindowClassDescription description;
    description.name = u"Morvane.TestButton";
    description.baseClass = u"BUTTON";
    description.procedure = &CVWnd_Base::WindowProcedure;
    ASSERT_NE(WindowClassRegistry::Register(description, Instance()), 0);
    WNDCLASSEXW button{};
    button.cbSize = sizeof(button);
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"BUTTON", &button));
    EXPECT_EQ(description.baseProcedure, button.lpfnWndProc);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(Instance(), L"Morvane.TestButton", &info));
    EXPECT_EQ(info.lpfnWndProc, &CVWnd_Base::WindowProcedure);
}

TEST(WindowClassRegistry, MissingBaseClassRegistersNothing) {
    static WindowClassDescription description;
    description.name = u"Morvane.NoSuchBase";
    description.baseClass = u"Morvane.DoesNotExist";
    description.procedure = &CVWnd_Base::WindowProcedure;
    const std::size_t before = WindowClassRegistry::RegisteredAtoms().size();
    EXPECT_EQ(WindowClassRegistry::Register(description, Instance()), 0);
    EXPECT_EQ(WindowClassRegistry::RegisteredAtoms().size(), before);
}

}  // namespace
