#include "EmbeddedPng.h"

namespace
{
/** What a PNG holds: its header's fields and its image data, still compressed. */
struct PngContents
{
    int width = 0, height = 0;
    bool isRgba8 = false;  // 8 bits per channel, RGBA, not interlaced
    juce::MemoryBlock compressedRows;
};

bool hasType (const juce::uint8* chunk, const char* type)
{
    return std::memcmp (chunk + 4, type, 4) == 0;
}

/** Reads the chunks up to IEND; false where the data is no whole PNG. */
bool readChunks (const juce::uint8* bytes, size_t numBytes, PngContents& contents)
{
    const juce::uint8 signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

    if (numBytes < sizeof (signature) || std::memcmp (bytes, signature, sizeof (signature)) != 0)
        return false;

    // Each chunk: its data's length, its type, the data, and a CRC.
    for (size_t position = sizeof (signature); numBytes - position >= 12;)
    {
        const auto* chunk = bytes + position;
        const auto length = (size_t) juce::ByteOrder::bigEndianInt (chunk);

        if (length > numBytes - position - 12)
            return false;

        const auto* data = chunk + 8;

        if (hasType (chunk, "IHDR") && length == 13)
        {
            contents.width = (int) juce::ByteOrder::bigEndianInt (data);
            contents.height = (int) juce::ByteOrder::bigEndianInt (data + 4);
            contents.isRgba8 = data[8] == 8 && data[9] == 6 && data[10] == 0 && data[11] == 0 && data[12] == 0;
        }
        else if (hasType (chunk, "IDAT"))
        {
            contents.compressedRows.append (data, length);
        }
        else if (hasType (chunk, "IEND"))
        {
            return true;
        }

        position += 12 + length;
    }

    return false;
}

/** Inflates rows that each carry filter type None into an image whose pixels
    are premultiplied, as the framework keeps them. Stops with a null image
    where a row uses another filter (filtered is set then), or where the rows
    are cut short or do not inflate. */
juce::Image inflateUnfilteredRows (const PngContents& contents, bool& filtered)
{
    constexpr int largestSide = 16384;

    if (! juce::isPositiveAndBelow (contents.width, largestSide) || ! juce::isPositiveAndBelow (contents.height, largestSide))
        return {};

    // Every pixel is written below, so the image need not be cleared first.
    juce::Image image (juce::Image::ARGB, contents.width, contents.height, false);
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    if (pixels.pixelFormat != juce::Image::ARGB || pixels.pixelStride != 4)
        return {};

    juce::MemoryInputStream compressed (contents.compressedRows, false);
    juce::GZIPDecompressorInputStream rows (compressed);
    const auto rowBytes = contents.width * 4;

    for (int y = 0; y < contents.height; ++y)
    {
        juce::uint8 filterType = 0;
        auto* line = pixels.getLinePointer (y);

        if (rows.read (&filterType, 1) != 1)
            return {};

        filtered = filterType != 0;

        if (filtered || rows.read (line, rowBytes) != rowBytes)
            return {};

        // Each RGBA quadruple becomes a premultiplied ARGB pixel in its place.
        for (auto* pixel = line; pixel < line + rowBytes; pixel += 4)
        {
            auto* argb = reinterpret_cast<juce::PixelARGB*> (pixel);
            argb->setARGB (pixel[3], pixel[0], pixel[1], pixel[2]);
            argb->premultiply();
        }
    }

    return image;
}
} // namespace

juce::Image decodeEmbeddedPng (const void* data, size_t numBytes)
{
    PngContents contents;

    if (! readChunks (static_cast<const juce::uint8*> (data), numBytes, contents))
        return {};

    auto filtered = false;

    if (contents.isRgba8)
        if (auto image = inflateUnfilteredRows (contents, filtered); image.isValid() || ! filtered)
            return image;

    return juce::ImageFileFormat::loadFrom (data, numBytes);
}
