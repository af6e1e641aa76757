// Any bytes as a TSV file and as one stored cell: whatever the reader accepts must come back
// the same through the writer, and any cell must escape to one line and back.
#include "TsvFormat.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    const char *const end = bytes.constData() + bytes.size();
    for (const char *p = bytes.constData(); p < end;) {
        const int length = TsvFormat::utf8SequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const std::vector<StoredRow> rows = TsvFormat::parse(bytes);
        const QByteArray written = TsvFormat::format(rows);
        if (!isValidUtf8(written) || TsvFormat::parse(written) != rows)
            std::abort();
    } catch (const TsvFormat::ParseError &) { }

    const QByteArray cell = TsvFormat::escape(bytes);
    if (cell.contains('\t') || cell.contains('\n') || cell.contains('\r') || !isValidUtf8(cell)
        || TsvFormat::unescape(cell) != bytes)
        std::abort();
    return 0;
}
