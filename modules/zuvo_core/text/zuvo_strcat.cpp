#include <cstdarg>

const char* strcat_0 (const char* first, ...)
{
    size_t furtherLength = 0;

    va_list args;
    va_start (args, first);

    while (const char* s = va_arg (args, const char*))
        furtherLength += std::strlen (s);

    va_end (args);

    if (furtherLength == 0)
        return first;

    const auto firstLength = first != nullptr ? std::strlen (first) : 0;
    auto* joined = static_cast<char*> (std::malloc (firstLength + furtherLength + 1));

    if (joined == nullptr)
        return first;

    if (firstLength > 0)
        std::memcpy (joined, first, firstLength);

    auto* end = joined + firstLength;

    va_start (args, first);

    while (const char* s = va_arg (args, const char*))
    {
        const auto length = std::strlen (s);
        std::memcpy (end, s, length);
        end += length;
    }

    va_end (args);

    *end = '\0';
    return joined;
}
