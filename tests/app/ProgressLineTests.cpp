#include "app/cli/ProgressLine.h"
#include "app/cli/TerminalWidth.h"
#include "app/export/filesystem/NameCoding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

TEST(TerminalWidth, CountsColumnsAsATerminalShowsThem) {
    const struct {
        const char* what;
        std::u16string text;
        std::size_t columns;
    } cases[] = {
        {"nothing", u"", 0},
        {"ASCII", u"saving list.xlsx", 16},
        {"Chinese, two columns each", u"文件清单_.xlsx", 14},
        {"ideographic space and punctuation", u"\u3000。，", 6},
        {"Hangul syllables", u"한국어", 6},
        {"fullwidth Latin", u"ｆｕｌｌ", 8},
        {"halfwidth katakana", u"ｶﾀｶﾅ", 4},
        {"Greek and Cyrillic: ambiguous, one column", u"ΩЖ", 2},
        {"a combining accent takes none", u"e\u0301", 1},
        {"zero width space and joiner", u"a\u200B\u200Db", 2},
        {"soft hyphen, shown", u"\u00AD", 1},
        {"an emoji beyond the BMP", u"\U0001F600", 2},
        {"CJK extension B", u"\U00020000", 2},
        {"a lone surrogate, shown as one replacement character", std::u16string(1, char16_t(0xD800)) + u"x",
         2},
        {"a control character", u"\x1b", 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(TerminalWidth(row.text), row.columns);
    }
}

// One row of a terminal: a wide character takes its cell and the next, and writing over either half of
// it blanks the other, as terminals do.
class TerminalRow {
public:
    void Show(std::u16string_view text) {
        for (char16_t unit : text) {
            if (unit == u'\r') {
                cursor_ = 0;
                continue;
            }
            // The test's texts hold ASCII and CJK only; the latter take two columns.
            const bool wide = unit >= 0x2E80;
            Put(unit, wide);
        }
    }
    // What the row shows, without the blanks at its end.
    std::u16string Shown() const {
        std::u16string text;
        for (char16_t cell : cells_) {
            if (cell != kRightHalf) {
                text += cell;
            }
        }
        return text.substr(0, text.find_last_not_of(u' ') + 1);
    }

private:
    static constexpr char16_t kRightHalf = 0;

    void Put(char16_t unit, bool wide) {
        const std::size_t width = wide ? 2 : 1;
        if (cells_.size() < cursor_ + width) {
            cells_.resize(cursor_ + width, u' ');
        }
        for (std::size_t cell = cursor_; cell < cursor_ + width; ++cell) {
            if (cells_[cell] == kRightHalf && cell > 0) {
                cells_[cell - 1] = u' ';
            } else if (cell + 1 < cells_.size() && cells_[cell + 1] == kRightHalf) {
                cells_[cell + 1] = u' ';
            }
        }
        cells_[cursor_] = unit;
        if (wide) {
            cells_[cursor_ + 1] = kRightHalf;
        }
        cursor_ += width;
    }

    std::vector<char16_t> cells_;
    std::size_t cursor_ = 0;
};

TEST(ProgressLine, LeavesNothingOfAWideLineBesideTheOutcome) {
    for (const std::u16string name : {u"文件清单_.xlsx", u"list.xlsx", u"二〇二四年的文件清单.xlsx"}) {
        SCOPED_TRACE(EncodeUtf8(name));
        TerminalRow row;
        ProgressLine line([&row](std::u16string_view text) { row.Show(text); });
        ExportProgress progress;
        progress.phase = ExportPhase::Writing;
        progress.foldersRead = 2;
        progress.filesFound = 2;
        progress.rowsWritten = 2;
        progress.elapsed = std::chrono::milliseconds(100);
        progress.workbookName = name;
        line.OnProgress(progress);
        EXPECT_EQ(row.Shown(), u"writing: 2 folders read, 2 files found, 2 rows written, 0.1 s");
        progress.phase = ExportPhase::Saving;
        line.OnProgress(progress);
        EXPECT_EQ(row.Shown(), u"saving " + name + u": 2 folders read, 2 files found, 2 rows written, 0.1 s");
        line.Finish();
        EXPECT_EQ(row.Shown(), u"");
        row.Show(u"生成完毕,文件数量2个。");
        EXPECT_EQ(row.Shown(), u"生成完毕,文件数量2个。");
    }
}

}  // namespace
