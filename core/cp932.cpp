#include "cp932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace korvel::cp932 {

namespace {

// Code page 932 is ASCII below 0x80, both ways, so ASCII text (most of every
// design and module) needs no conversion.
bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

#ifdef _WIN32

QByteArray encode(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    // No best fit: "é" becomes "?" as it does through iconv, not "e".
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(932, flags, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(size, Qt::Uninitialized);
    WideCharToMultiByte(932, flags, wide, int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

QString decode(const char *bytes, qsizetype size)
{
    if (size <= 0)
        return QString();
    const int length = MultiByteToWideChar(932, 0, bytes, int(size), nullptr, 0);
    QString out(length, Qt::Uninitialized);
    MultiByteToWideChar(932, 0, bytes, int(size), reinterpret_cast<wchar_t *>(out.data()), length);
    return out;
}

#else

namespace {

// One conversion descriptor per direction and thread; iconv_open is far
// dearer than a conversion.
class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    iconv_t handle() const { return m_cd; }
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t m_cd;
};

Converter &encoder()
{
    thread_local Converter converter("CP932", "UTF-16LE");
    return converter;
}

Converter &decoder()
{
    thread_local Converter converter("UTF-16LE", "CP932");
    return converter;
}

// Runs `cd` over the input; on a sequence it cannot convert it writes
// `substitute` and skips `skip(in, left)` input bytes.
template <typename Skip>
QByteArray convert(Converter &converter, const char *input, size_t size, const QByteArray &substitute,
                   Skip skip)
{
    QByteArray out;
    if (size == 0)
        return out;
    if (!converter.valid())
        return out;
    iconv_t cd = converter.handle();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    out.resize(qsizetype(size * 2 + 16));
    char *in = const_cast<char *>(input);
    size_t inLeft = size;
    char *dst = out.data();
    size_t outLeft = size_t(out.size());

    while (inLeft > 0) {
        const size_t result = iconv(cd, &in, &inLeft, &dst, &outLeft);
        if (result != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = size_t(out.size() - used);
            continue;
        }
        // EILSEQ or EINVAL: an unconvertible or incomplete sequence.
        if (outLeft < size_t(substitute.size())) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2 + substitute.size());
            dst = out.data() + used;
            outLeft = size_t(out.size() - used);
        }
        memcpy(dst, substitute.constData(), size_t(substitute.size()));
        dst += substitute.size();
        outLeft -= size_t(substitute.size());
        const size_t skipped = qMin(skip(in, inLeft), inLeft);
        in += skipped;
        inLeft -= skipped;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(dst - out.data());
    return out;
}

bool isAscii(const char *bytes, qsizetype size)
{
    for (qsizetype at = 0; at < size; ++at) {
        if (static_cast<unsigned char>(bytes[at]) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    const auto *data = reinterpret_cast<const char *>(text.utf16());
    return convert(encoder(), data, size_t(text.size()) * 2, QByteArray(1, SubstituteByte),
                   [](const char *in, size_t left) -> size_t {
                       // Skip one UTF-16 unit, or both units of a surrogate pair.
                       if (left >= 4) {
                           const auto unit = char16_t(uchar(in[0]) | (uchar(in[1]) << 8));
                           if (QChar::isHighSurrogate(unit))
                               return 4;
                       }
                       return 2;
                   });
}

QString decode(const char *bytes, qsizetype size)
{
    if (size <= 0)
        return QString();
    if (isAscii(bytes, size))
        return QString::fromLatin1(bytes, size);
    const char16_t substitute = SubstituteChar;
    const QByteArray sub(reinterpret_cast<const char *>(&substitute), 2);
    const QByteArray utf16 =
        convert(decoder(), bytes, size_t(qMax<qsizetype>(size, 0)), sub,
                [](const char *, size_t) -> size_t { return 1; });
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

#endif

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QString roundTrip(const QString &text)
{
    return isAscii(text) ? text : decode(encode(text));
}

} // namespace korvel::cp932
