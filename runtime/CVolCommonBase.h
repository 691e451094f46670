#pragma once

// Root of every class of the runtime library. It holds no data and declares no operations; it only
// marks the classes that belong to the library (the application instance and the window-procedure
// filter list derive from it directly and do not use the memory pool).
class CVolCommonBase {
protected:
    CVolCommonBase() = default;
    CVolCommonBase(const CVolCommonBase&) = default;
    CVolCommonBase& operator=(const CVolCommonBase&) = default;
    ~CVolCommonBase() = default;
};
