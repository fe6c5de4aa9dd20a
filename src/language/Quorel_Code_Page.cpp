#include "language/Quorel_Code_Page.h"

#include <QtGlobal>

#include <cerrno>
#include <iconv.h>

const char* Code_Page_Name(int charset)
{
    switch (charset) {
    case 77: return "MACINTOSH";
    case 128: return "CP932";     // Shift-JIS
    case 129: return "CP949";     // Hangeul
    case 130: return "JOHAB";
    case 134: return "GBK";       // GB2312
    case 136: return "BIG5";
    case 161: return "CP1253";    // Greek
    case 162: return "CP1254";    // Turkish
    case 163: return "CP1258";    // Vietnamese
    case 177: return "CP1255";    // Hebrew
    case 178: return "CP1256";    // Arabic
    case 186: return "CP1257";    // Baltic
    case 204: return "CP1251";    // Cyrillic
    case 222: return "CP874";     // Thai
    case 238: return "CP1250";    // Central European
    case 255: return "CP437";     // OEM
    default: return "CP1252";     // ANSI, default, symbol and the rest
    }
}

namespace {

constexpr const char* Host_Utf16 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";

// Latin-1 is the last resort when iconv lacks a code page: every byte maps.
QString Decode_Latin1(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

} // namespace

QString Decode_Code_Page(const QByteArray& bytes, int charset)
{
    if (bytes.isEmpty())
        return {};
    iconv_t cd = iconv_open(Host_Utf16, Code_Page_Name(charset));
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        cd = iconv_open(Host_Utf16, "CP1252");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return Decode_Latin1(bytes);
    }

    QString result;
    result.reserve(bytes.size());
    QByteArray input = bytes;
    char* in = input.data();
    size_t in_left = static_cast<size_t>(input.size());
    char16_t buffer[512];
    while (in_left > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t out_left = sizeof(buffer);
        const size_t rc = iconv(cd, &in, &in_left, &out, &out_left);
        const int error = rc == static_cast<size_t>(-1) ? errno : 0;
        const auto produced = static_cast<qsizetype>((sizeof(buffer) - out_left) / sizeof(char16_t));
        result.append(QStringView(buffer, produced));
        if (error == E2BIG)
            continue;
        if (error == EILSEQ || error == EINVAL) {
            // Unmapped byte or a truncated double-byte sequence at the end.
            result.append(QChar::ReplacementCharacter);
            ++in;
            --in_left;
            continue;
        }
        if (error != 0)
            break;
    }
    // Hebrew and Vietnamese hold back a base letter that a combining mark
    // might follow: flush it.
    char* out = reinterpret_cast<char*>(buffer);
    size_t out_left = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &out, &out_left);
    result.append(QStringView(buffer, static_cast<qsizetype>((sizeof(buffer) - out_left) / sizeof(char16_t))));
    iconv_close(cd);
    return result;
}
