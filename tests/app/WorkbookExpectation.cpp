#include "tests/app/WorkbookExpectation.h"

#include "app/export/cells/ExportColumns.h"
#include "app/export/filesystem/NameCoding.h"

#include <cstdio>

namespace {

void AppendJsonString(std::string& out, std::u16string_view text) {
    std::string utf8 = EncodeUtf8(text);
    out += '"';
    for (unsigned char byte : utf8) {
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += static_cast<char>(byte);
        }
    }
    out += '"';
}

}  // namespace

WorkbookExpectation WorkbookExpectation::SingleSheet(std::vector<Row> rows) {
    WorkbookExpectation expectation;
    expectation.sheets.push_back(Sheet{u"Sheet1", std::move(rows)});
    return expectation;
}

std::string WorkbookExpectation::ToJson(const std::string& workbookName) const {
    std::string json = "{\"workbook\": ";
    AppendJsonString(json, DecodeUtf8Lossy(workbookName));
    json += ", \"anyOrder\": ";
    json += anyOrder ? "true" : "false";
    json += ", \"subtreesContiguous\": ";
    json += subtreesContiguous ? "true" : "false";
    if (!preorderRoot.empty()) {
        json += ", \"preorderRoot\": ";
        AppendJsonString(json, preorderRoot);
    }
    json += ", \"sheets\": [";
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        json += s == 0 ? "\n  {\"name\": " : ",\n  {\"name\": ";
        AppendJsonString(json, sheets[s].name);
        // The widths and headers of the column table (whose own test checks their values).
        json += ", \"widths\": {";
        for (int column = 0; column < kExportColumnCount; ++column) {
            char width[48];
            std::snprintf(width, sizeof width, "%s\"%c\": %g", column > 0 ? ", " : "", 'A' + column,
                          kExportColumns[column].width);
            json += width;
        }
        json += "}, \"rows\": [\n   [";
        for (int column = 0; column < kExportColumnCount; ++column) {
            if (column > 0) {
                json += ", ";
            }
            AppendJsonString(json, kExportColumns[column].header);
        }
        json += "]";
        for (const Row& row : sheets[s].rows) {
            json += ",\n   [";
            for (std::size_t column = 0; column < row.size(); ++column) {
                if (column > 0) {
                    json += ", ";
                }
                AppendJsonString(json, row[column]);
            }
            json += "]";
        }
        json += "]}";
    }
    json += "]}\n";
    return json;
}
