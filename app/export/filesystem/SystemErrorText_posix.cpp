#include "app/export/filesystem/SystemErrorText.h"

#include "app/export/filesystem/NameCoding.h"

#include <system_error>

std::u16string SystemErrorText(int code) {
    return DecodeUtf8Lossy(std::error_code(code, std::generic_category()).message());
}
