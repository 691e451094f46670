#pragma once

#include <cstdint>

// The main form's design, in 96-DPI units; windows receive each value scaled by the display scale.

inline constexpr std::int32_t MAIN_FORM_CLIENT_WIDTH = 633;
inline constexpr std::int32_t MAIN_FORM_CLIENT_HEIGHT = 267;

inline constexpr char16_t MAIN_FORM_TITLE[] = u"Morvane - 免费 绿色 极速";
inline constexpr char16_t MAIN_FORM_DESCRIPTION[] =
    u"将选择、粘贴或拖放的文件夹里的文件信息导出到Excel文件,位置在本目录下。";
inline constexpr char16_t GENERATE_BUTTON_TEXT[] = u"生成EXCEL";
inline constexpr char16_t SUBFOLDERS_CHECK_BOX_TEXT[] = u"子文件夹";
inline constexpr char16_t CHOOSE_FOLDER_BUTTON_TEXT[] = u"选择文件夹";
// "生成EXCEL" reads so while an export runs; pressing it then stops the export.
inline constexpr char16_t CANCEL_BUTTON_TEXT[] = u"取消";

// The status line while an export runs, in the default text colour: at the start, then the latest
// figures of its phase (folders read and files found until the first row is written, then rows
// written, then the workbook's name while it is saved).
inline constexpr char16_t EXPORT_STARTED_TEXT[] = u"正在生成…";
inline constexpr char16_t FILES_LISTED_FORMAT[] = u"正在列出文件,已读取%lld个文件夹,已找到%lld个文件…";
inline constexpr char16_t ROWS_WRITTEN_FORMAT[] = u"正在生成,已写入%lld个文件…";
inline constexpr char16_t SAVING_FORMAT[] = u"正在保存%s…";

// In red when the workbook of a green status line could not be opened: its file name follows.
inline constexpr char16_t OPEN_FAILED_PREFIX[] = u"无法打开";

inline constexpr char16_t CONTROL_FONT[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
inline constexpr char16_t DESCRIPTION_FONT[] = u"微软雅黑, 13, 0, 0, 0, 0, 0";

// Child-window identifiers, in creation order.
inline constexpr std::int32_t STATUS_LABEL_ID = 101;
inline constexpr std::int32_t GENERATE_BUTTON_ID = 102;
inline constexpr std::int32_t SUBFOLDERS_CHECK_BOX_ID = 103;
inline constexpr std::int32_t CHOOSE_FOLDER_BUTTON_ID = 104;
inline constexpr std::int32_t PATH_BOX_ID = 105;
inline constexpr std::int32_t DESCRIPTION_LABEL_ID = 106;

// Status line colours (COLORREF, 0x00BBGGRR).
inline constexpr std::uint32_t STATUS_FAILURE_COLOR = 0x0000FF;  // red
inline constexpr std::uint32_t STATUS_DONE_COLOR = 0x00FF00;     // green

// Where one child control sits and what it shows before its window exists.
struct ControlLayout {
    std::int32_t id;
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    const char16_t* text;  // empty: no text is set
    const char16_t* font;
};

// In creation order: status line, 生成EXCEL, 子文件夹, 选择文件夹, path box, description.
inline constexpr ControlLayout MAIN_FORM_CONTROLS[] = {
    {STATUS_LABEL_ID, 57, 220, 496, 37, u"", CONTROL_FONT},
    {GENERATE_BUTTON_ID, 329, 155, 85, 32, GENERATE_BUTTON_TEXT, CONTROL_FONT},
    {SUBFOLDERS_CHECK_BOX_ID, 547, 87, 85, 16, SUBFOLDERS_CHECK_BOX_TEXT, CONTROL_FONT},
    {CHOOSE_FOLDER_BUTTON_ID, 190, 155, 85, 32, CHOOSE_FOLDER_BUTTON_TEXT, CONTROL_FONT},
    {PATH_BOX_ID, 2, 82, 541, 32, u"", CONTROL_FONT},
    {DESCRIPTION_LABEL_ID, 3, 18, 629, 37, MAIN_FORM_DESCRIPTION, DESCRIPTION_FONT},
};
