#include <gtest/gtest.h>

#include <BinaryData.h>

#include "ControlSection.h"
#include "EmbeddedPng.h"
#include "MixerSection.h"
#include "VtrPlus.h"
#include "common/TemporaryFolder.h"

namespace
{
juce::Image decode (const char* data, int size)
{
    return juce::ImageFileFormat::loadFrom (data, (size_t) size);
}

/** Whether both images hold the same pixels, as stored (premultiplied). */
bool haveSamePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds() || a.getFormat() != b.getFormat())
        return false;

    const juce::Image::BitmapData first (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData second (b, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < a.getHeight(); ++y)
        if (std::memcmp (first.getLinePointer (y), second.getLinePointer (y), (size_t) (a.getWidth() * first.pixelStride)) != 0)
            return false;

    return true;
}

// The panel paints its body in this colour before the background; what the
// background leaves transparent shows it.
const juce::Colour body { 0xffc8c8c8 };

juce::Colour onPanel (const juce::Image& background, juce::Point<int> p)
{
    return body.overlaidWith (background.getPixelAt (p.x, p.y));
}

// The body and the strips' plates are light; every control has dark parts, and
// black label text needs a light ground.
bool isDark (juce::Colour c)    { return c.getPerceivedBrightness() < 0.6f; }

/** The share of the pixels of an area (clipped to the panel) for which the test holds. */
float shareOf (const juce::Image& background, juce::Rectangle<int> area, int panelWidth,
               const std::function<bool (juce::Colour)>& test)
{
    area = area.getIntersection ({ 0, 0, panelWidth, 576 });
    auto count = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            count += test (onPanel (background, { x, y })) ? 1 : 0;

    return area.isEmpty() ? 1.0f : (float) count / (float) (area.getWidth() * area.getHeight());
}

/** The sections laid over the background as the editor lays them. */
struct Sections
{
    Sections()
    {
        settings.createDirectory();
        VtrPlus::setSettingsFolder (settings);
        mixer = std::make_unique<MixerSection>();
        control = std::make_unique<ControlSection>();
        mixer->setBounds (0, 64, 786, 500);
        control->setBounds (786, 22, 450, 576);
    }

    ~Sections()
    {
        mixer = nullptr;
        control = nullptr;
        VtrPlus::singletonHolder.deleteInstance();
        VtrPlus::setSettingsFolder ({});
        settings.deleteRecursively();
    }

    /** Every child of a kind, with the part of it that shows on the panel. */
    template <typename ChildType>
    static std::vector<std::pair<ChildType*, juce::Rectangle<int>>> childrenOf (juce::Component& section)
    {
        std::vector<std::pair<ChildType*, juce::Rectangle<int>>> found;

        for (auto* child : section.getChildren())
            if (auto* c = dynamic_cast<ChildType*> (child))
                found.emplace_back (c, (child->getBounds() + section.getPosition()).getIntersection (section.getBounds()));

        return found;
    }

    const juce::File settings = createUniqueTemporaryFolder ("vtr-artwork-test");
    std::unique_ptr<MixerSection> mixer;
    std::unique_ptr<ControlSection> control;
};
} // namespace

TEST (Artwork, HasTheSizesThatTheLayoutRestsOn)
{
    const struct { const char* name; const char* data; int size; int width, height; } images[] = {
        { "logo",       BinaryData::ZuvoLogo_png, BinaryData::ZuvoLogo_pngSize, 156, 50 },
        { "controller", BinaryData::vtm_p_png,    BinaryData::vtm_p_pngSize,    430, 40 },
        { "extender",   BinaryData::vtx_p_png,    BinaryData::vtx_p_pngSize,    430, 40 },
        { "background", BinaryData::bg_png,       BinaryData::bg_pngSize,       1000, 600 },
        { "ext. bg",    BinaryData::bgex_png,     BinaryData::bgex_pngSize,     1000, 600 },
    };

    for (const auto& image : images)
    {
        SCOPED_TRACE (image.name);
        const auto decoded = decode (image.data, image.size);
        ASSERT_TRUE (decoded.isValid());
        EXPECT_EQ (decoded.getWidth(), image.width);
        EXPECT_EQ (decoded.getHeight(), image.height);
    }
}

TEST (Artwork, DecodesAtStartUpToThePixelsOfTheFrameworksDecoder)
{
    // The embedded pictures have half-transparent edges. A picture written by
    // the framework's PNG writer, which filters its rows, goes to the framework.
    juce::Image translucent (juce::Image::ARGB, 40, 30, true);
    {
        juce::Graphics g (translucent);
        g.setGradientFill ({ juce::Colour (0x80ff2000), 0.0f, 0.0f, juce::Colour (0xff0030c0), 40.0f, 30.0f, false });
        g.fillEllipse (2.0f, 2.0f, 36.0f, 26.0f);
    }

    juce::MemoryOutputStream frameworkPng;
    juce::PNGImageFormat().writeImageToStream (translucent, frameworkPng);

    const struct { const char* name; const void* data; size_t size; } pictures[] = {
        { "logo",       BinaryData::ZuvoLogo_png, (size_t) BinaryData::ZuvoLogo_pngSize },
        { "controller", BinaryData::vtm_p_png,    (size_t) BinaryData::vtm_p_pngSize },
        { "extender",   BinaryData::vtx_p_png,    (size_t) BinaryData::vtx_p_pngSize },
        { "background", BinaryData::bg_png,       (size_t) BinaryData::bg_pngSize },
        { "ext. bg",    BinaryData::bgex_png,     (size_t) BinaryData::bgex_pngSize },
        { "filtered",   frameworkPng.getData(),   frameworkPng.getDataSize() },
    };

    for (const auto& picture : pictures)
    {
        SCOPED_TRACE (picture.name);
        const auto decoded = decodeEmbeddedPng (picture.data, picture.size);
        ASSERT_TRUE (decoded.isValid());
        EXPECT_TRUE (haveSamePixels (decoded, juce::ImageFileFormat::loadFrom (picture.data, picture.size)));
    }
}

TEST (Artwork, GivesNoPictureForDamagedData)
{
    const auto* png = static_cast<const char*> (BinaryData::bg_png);
    const auto size = (size_t) BinaryData::bg_pngSize;

    // The chunk of image data follows the signature and the header chunk, 33
    // bytes in: its length, its type, the compressed rows and a CRC. A whole
    // PNG with half of those rows cut out:
    const auto rowsLength = juce::ByteOrder::bigEndianInt (png + 33);
    const auto keptLength = rowsLength - rowsLength / 2;
    juce::MemoryOutputStream cutRows;
    cutRows.write (png, 33);
    cutRows.writeIntBigEndian ((int) keptLength);
    cutRows.write (png + 37, 4 + keptLength);
    cutRows.write (png + 41 + rowsLength, size - 41 - rowsLength);

    const struct { const char* name; const void* data; size_t size; } damaged[] = {
        { "cut short",      png,               size / 2 },
        { "no signature",   png + 8,           size - 8 },
        { "rows cut short", cutRows.getData(), cutRows.getDataSize() },
    };

    for (const auto& data : damaged)
    {
        SCOPED_TRACE (data.name);
        EXPECT_TRUE (decodeEmbeddedPng (data.data, data.size).isNull());
    }
}

TEST (Artwork, DrawsAControlUnderEveryButtonAndLeavesTheLabelsReadable)
{
    const Sections sections;

    const struct { const char* name; juce::Image background; int panelWidth; bool withControlSection; } views[] = {
        { "controller", decode (BinaryData::bg_png, BinaryData::bg_pngSize),     1000, true },
        { "extender",   decode (BinaryData::bgex_png, BinaryData::bgex_pngSize), 786,  false },
    };

    for (const auto& view : views)
    {
        std::vector<juce::Component*> shown { sections.mixer.get() };
        if (view.withControlSection)
            shown.push_back (sections.control.get());

        for (auto* section : shown)
        {
            for (const auto& [button, area] : Sections::childrenOf<juce::Button> (*section))
            {
                SCOPED_TRACE (juce::String (view.name) + ", button over " + area.toString());
                const auto middle = area.withSizeKeepingCentre (area.getWidth() / 2, area.getHeight() / 2);
                EXPECT_GT (shareOf (view.background, middle, view.panelWidth, isDark), 0.3f);
            }

            for (const auto& [label, area] : Sections::childrenOf<juce::Label> (*section))
            {
                SCOPED_TRACE (juce::String (view.name) + ", label \"" + label->getText() + "\" over " + area.toString());
                EXPECT_LT (shareOf (view.background, area, view.panelWidth, isDark), 0.1f);
            }
        }
    }
}

TEST (Artwork, LeavesTheBodyAndTheSurroundTransparent)
{
    const auto controller = decode (BinaryData::bg_png, BinaryData::bg_pngSize);
    const auto extender = decode (BinaryData::bgex_png, BinaryData::bgex_pngSize);

    // Corners outside the rounded body, the row of boxes below it, the top
    // band under the logo and the product picture, and the extender's end.
    for (const auto p : { juce::Point<int> (3, 3), { 996, 3 }, { 14, 465 }, { 500, 520 }, { 60, 36 }, { 416, 44 } })
    {
        SCOPED_TRACE (p.toString());
        EXPECT_EQ (controller.getPixelAt (p.x, p.y).getAlpha(), 0);
        EXPECT_EQ (extender.getPixelAt (p.x, p.y).getAlpha(), 0);
    }

    EXPECT_EQ (extender.getPixelAt (880, 300).getAlpha(), 0);
    EXPECT_GT (controller.getPixelAt (880, 300).getAlpha(), 0);
}
