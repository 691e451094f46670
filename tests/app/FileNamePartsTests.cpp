#include "app/export/cells/FileNameParts.h"
#include "app/export/filesystem/FilePath.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    std::u16string name;
    std::u16string stem;
    std::u16string suffix;
};

const NameCase kNameCases[] = {
    {u"archive.tar.gz", u"archive", u"gz"},
    {u"README", u"README", u""},
    {u".gitignore", u"", u"gitignore"},
    {u"a.b.c", u"a", u"c"},
    {u"report.final.docx", u"report", u"docx"},
    {u"trailing.", u"trailing", u""},
    {u"报告 2024.xlsx", u"报告 2024", u"xlsx"},
    {u"😀.png", u"😀", u"png"},
    {u"", u"", u""},
};

std::u16string InFolder(std::u16string_view folder, std::u16string_view name) {
    return JoinPath(folder, name);
}

TEST(FileNameParts, SplitTheNameAfterTheLastSeparator) {
    for (const NameCase& row : kNameCases) {
        std::u16string path = InFolder(InFolder(u"top", u"dir.with.dots"), row.name);
        SCOPED_TRACE(Utf8(path));
        EXPECT_EQ(Text(FileNameStem(path.c_str())), row.stem);
        EXPECT_EQ(Text(FileNameSuffix(path.c_str())), row.suffix);
    }
}

TEST(FileNameParts, TakeAWholeTextWithoutSeparatorAsTheName) {
    for (const NameCase& row : kNameCases) {
        SCOPED_TRACE(Utf8(row.name));
        EXPECT_EQ(Text(FileNameStem(row.name.c_str())), row.stem);
        EXPECT_EQ(Text(FileNameSuffix(row.name.c_str())), row.suffix);
    }
}

TEST(FileNameParts, IgnoreDotsInTheFolderPart) {
    std::u16string path = InFolder(u"v1.2", u"Makefile");
    EXPECT_EQ(Text(FileNameStem(path.c_str())), u"Makefile");
    EXPECT_EQ(Text(FileNameSuffix(path.c_str())), u"");
}

TEST(FileNameParts, ReadANullPathAsEmpty) {
    EXPECT_TRUE(FileNameStem(nullptr).IsEmpty());
    EXPECT_TRUE(FileNameSuffix(nullptr).IsEmpty());
}

}  // namespace
