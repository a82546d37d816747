#include "client/diag/CrashFormat.h"

#include <cerrno>
#include <unistd.h>

namespace tessaly {
namespace {

// Appends to a bounded output, silently cutting at the end.
struct Out {
    char* at;
    std::size_t left;   // bytes that may still be written, the NUL not counted
    std::size_t length = 0;

    void put(char c)
    {
        if (left == 0)
            return;
        *at++ = c;
        --left;
        ++length;
    }
    void repeat(char c, int count)
    {
        for (int i = 0; i < count; ++i)
            put(c);
    }
};

std::size_t textLength(const char* text)
{
    std::size_t n = 0;
    while (text[n] != '\0')
        ++n;
    return n;
}

// Digits of value in the base, most significant first; returns their count.
int digitsOf(std::uint64_t value, unsigned base, bool upper, char (&digits)[24])
{
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = set[value % base];
        value /= base;
    } while (value != 0);
    for (int i = 0; i < n; ++i)
        digits[i] = reversed[n - 1 - i];
    return n;
}

void putField(Out& out, const char* text, std::size_t length, int width, bool left, char pad)
{
    const int fill = width > static_cast<int>(length) ? width - static_cast<int>(length) : 0;
    if (!left)
        out.repeat(pad, fill);
    for (std::size_t i = 0; i < length; ++i)
        out.put(text[i]);
    if (left)
        out.repeat(' ', fill);
}

void putNumber(Out& out, const FormatArg& arg, char conversion, int width, bool left, bool zero)
{
    char digits[24];
    bool negative = false;
    std::uint64_t magnitude = arg.number;
    if ((conversion == 'd' || conversion == 'i') && arg.kind == FormatArg::Kind::Signed
        && static_cast<std::int64_t>(arg.number) < 0) {
        negative = true;
        magnitude = ~arg.number + 1;
    }
    const bool hex = conversion == 'x' || conversion == 'X';
    const int n = digitsOf(magnitude, hex ? 16 : 10, conversion == 'X', digits);
    const int length = n + (negative ? 1 : 0);
    const int fill = width > length ? width - length : 0;
    if (!left && !zero)
        out.repeat(' ', fill);
    if (negative)
        out.put('-');
    if (!left && zero)
        out.repeat('0', fill);
    for (int i = 0; i < n; ++i)
        out.put(digits[i]);
    if (left)
        out.repeat(' ', fill);
}

} // namespace

std::size_t formatText(char* out, std::size_t capacity, const char* format, std::initializer_list<FormatArg> args)
{
    if (capacity == 0)
        return 0;
    Out o{out, capacity - 1};
    const FormatArg* next = args.begin();
    const FormatArg* const end = args.end();
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            o.put(*p);
            continue;
        }
        ++p;
        bool left = false;
        bool zero = false;
        for (; *p == '-' || *p == '0'; ++p) {
            if (*p == '-')
                left = true;
            else
                zero = true;
        }
        int width = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            width = width * 10 + (*p - '0');
        // The system's formatter also accepts the size prefixes l and h.
        while (*p == 'l' || *p == 'h')
            ++p;
        const char conversion = *p;
        if (conversion == '\0')
            break;
        if (conversion == '%') {
            o.put('%');
            continue;
        }
        const FormatArg none{0};
        const FormatArg& arg = next != end ? *next++ : none;
        switch (conversion) {
        case 's': {
            const char* text = arg.kind == FormatArg::Kind::Text && arg.text ? arg.text : "(null)";
            putField(o, text, textLength(text), width, left, ' ');
            break;
        }
        case 'c': {
            const char c = static_cast<char>(arg.number);
            putField(o, &c, 1, width, left, ' ');
            break;
        }
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X': putNumber(o, arg, conversion, width, left, zero); break;
        default: o.put(conversion); break;   // unknown: printed as it stands
        }
    }
    out[o.length] = '\0';
    return o.length;
}

void ReportBuffer::open(int fd)
{
    fd_ = fd;
    fill_ = 0;
}

void ReportBuffer::add(const char* format, std::initializer_list<FormatArg> args)
{
    if (fill_ > kFlushAbove)
        flush();
    // After the flush rule at most 7,168 bytes wait, so a whole piece fits.
    fill_ += formatText(buffer_ + fill_, kPieceMax + 1, format, args);
}

void ReportBuffer::finish()
{
    flush();
}

void ReportBuffer::flush()
{
    if (fill_ > 0 && fd_ >= 0)
        writeAll(fd_, buffer_, fill_);
    fill_ = 0;
}

bool writeAll(int fd, const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace tessaly
