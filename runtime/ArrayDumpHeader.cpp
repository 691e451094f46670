#include "runtime/ArrayDumpHeader.h"

#include "runtime/CWString.h"

std::int64_t AppendArrayDumpHeader(CWString& out, std::int64_t count, int limit) {
    const std::int64_t memberLimit = limit == 0 ? ARRAY_DUMP_DEFAULT_LIMIT : limit;
    if (memberLimit < 0 || count <= memberLimit) {
        out.AppendFormat(u"<数组> 总共 %lld 个成员:", static_cast<long long>(count));
        return count;
    }
    out.AppendFormat(u"<数组> 总共 %lld 个成员,输出了 %lld 个,还有 %lld 个未被输出.",
                     static_cast<long long>(count), static_cast<long long>(memberLimit),
                     static_cast<long long>(count - memberLimit));
    return memberLimit;
}
