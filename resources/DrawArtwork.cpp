/*
    Draws the editor's five pictures and writes them as PNG files:

        DrawArtwork <output folder>

    ZuvoLogo.png (156 x 50), vtm_p.png and vtx_p.png (430 x 40, the product
    names) and bg.png / bgex.png (1000 x 600, the controller and the extender).

    The backgrounds are drawn in the panel's coordinates. The editor lays the
    mixer section at (0, 64) and the control section at (786, 22) over them,
    so every control below is drawn under the rectangle of the button that
    stands for it. The panel paints its rounded body (12, 12, width - 24, 455)
    before the background, so the body is left transparent here.

    Everything is drawn by the framework's software renderer with one named
    font and no randomness, and the PNG writer stores no time, so the files
    are the same on every run. The rows are stored unfiltered, so that the
    editor can inflate them straight into its images at start-up.
*/

#include <juce_graphics/juce_graphics.h>

namespace
{
using juce::Colour;
using juce::Graphics;
using juce::Rectangle;

//==============================================================================
const juce::String fontName { "DejaVu Sans" };

juce::Font font (float height, bool bold = false)
{
    return juce::Font (fontName, height, bold ? juce::Font::bold : juce::Font::plain);
}

namespace colours
{
    const Colour plate       { 0xffd3d3d3 };
    const Colour plateEdge   { 0xffa9a9a9 };
    const Colour masterPlate { 0xffcbcbcb };
    const Colour engraving   { 0xff5c5c5c };
    const Colour capDark     { 0xff3b3b3b };
    const Colour capEdge     { 0xff1c1c1c };
    const Colour capText     { 0xffe4e4e4 };
    const Colour lcdGlass    { 0xffc4d6c2 };
    const Colour lcdFrame    { 0xff6f7d6e };
    const Colour ledSel      { 0xff3d9be9 };
    const Colour ledMute     { 0xffe5483f };
    const Colour ledSolo     { 0xffe8c23a };
    const Colour ledOn       { 0xff53d65a };
    const Colour recCap      { 0xffb8302b };
    const Colour ink         { 0xff2a2a2a };
    const Colour accent      { 0xffe0661f };
}

//==============================================================================
// Where the editor's sections lie on the panel, and their button rectangles
// in the sections' own pixels.
const juce::Point<int> mixerOrigin   { 0, 64 };
const juce::Point<int> controlOrigin { 786, 22 };
constexpr int stripPitch = 94;

Rectangle<float> inMixer (int strip, int x, int y, int w, int h)
{
    return Rectangle<int> (x + stripPitch * (strip - 1), y, w, h).translated (mixerOrigin.x, mixerOrigin.y).toFloat();
}

Rectangle<float> inControl (int x, int y, int w, int h)
{
    return Rectangle<int> (x, y, w, h).translated (controlOrigin.x, controlOrigin.y).toFloat();
}

//==============================================================================
void drawCap (Graphics& g, Rectangle<float> cap, Colour body, float corner)
{
    g.setColour (juce::Colours::black.withAlpha (0.25f));
    g.fillRoundedRectangle (cap.translated (0.0f, 1.5f), corner);

    g.setGradientFill (juce::ColourGradient::vertical (body.brighter (0.35f), cap.getY(),
                                                       body.darker (0.25f), cap.getBottom()));
    g.fillRoundedRectangle (cap, corner);

    g.setColour (colours::capEdge);
    g.drawRoundedRectangle (cap.reduced (0.5f), corner, 1.0f);
}

void drawCaption (Graphics& g, const juce::String& text, Rectangle<float> area, Colour colour, float height)
{
    g.setColour (colour);
    g.setFont (font (height, true));
    g.drawText (text, area, juce::Justification::centred, false);
}

/** A square push button with its lamp along the top edge. */
void drawSquareButton (Graphics& g, Rectangle<float> buttonArea, Colour lamp, const juce::String& caption)
{
    // The attached label covers the lowest 4 pixels of the button's area.
    const auto cap = Rectangle<float> (buttonArea.getX() + 3.0f, buttonArea.getY() + 2.0f,
                                       buttonArea.getWidth() - 6.0f, buttonArea.getHeight() - 8.0f);
    drawCap (g, cap, colours::capDark, 3.0f);

    g.setColour (lamp);
    g.fillRoundedRectangle (cap.getX() + 5.0f, cap.getY() + 3.0f, cap.getWidth() - 10.0f, 3.0f, 1.5f);

    drawCaption (g, caption, cap.withTrimmedTop (8.0f), colours::capText, 8.0f);
}

void drawRoundButton (Graphics& g, Rectangle<float> buttonArea, Colour body)
{
    const auto cap = buttonArea.reduced (1.5f);

    g.setColour (juce::Colours::black.withAlpha (0.25f));
    g.fillEllipse (cap.translated (0.0f, 1.5f));

    g.setGradientFill (juce::ColourGradient (body.brighter (0.4f), cap.getCentreX(), cap.getY(),
                                             body.darker (0.3f), cap.getCentreX(), cap.getBottom(), false));
    g.fillEllipse (cap);

    g.setColour (colours::capEdge);
    g.drawEllipse (cap.reduced (0.5f), 1.0f);
}

/** A round control seen from above: its shadow, a dark rim with ridges and a shaded face. */
void drawRidgedDisc (Graphics& g, juce::Point<float> centre, float radius, float rimWidth, int ridges,
                     Colour rim, Colour ridge, Colour faceLight, Colour faceDark)
{
    const auto disc = Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);

    g.setColour (juce::Colours::black.withAlpha (0.3f));
    g.fillEllipse (disc.translated (0.0f, 1.5f));
    g.setColour (rim);
    g.fillEllipse (disc);

    g.setColour (ridge);
    for (int i = 0; i < ridges; ++i)
    {
        const auto angle = juce::MathConstants<float>::twoPi * (float) i / (float) ridges;
        const auto dir = juce::Point<float> (std::sin (angle), -std::cos (angle));
        g.drawLine ({ centre + dir * (radius - rimWidth + 1.0f), centre + dir * (radius - 0.75f) }, 1.0f);
    }

    const auto face = disc.reduced (rimWidth);
    g.setGradientFill (juce::ColourGradient (faceLight, face.getX(), face.getY(),
                                             faceDark, face.getRight(), face.getBottom(), false));
    g.fillEllipse (face);
}

void drawKnob (Graphics& g, Rectangle<float> knobArea)
{
    const auto centre = knobArea.getCentre();
    const auto radius = knobArea.getHeight() / 2.0f - 1.0f;

    drawRidgedDisc (g, centre, radius, 4.0f, 24, colours::capEdge, juce::Colour (0xff4a4a4a),
                    juce::Colour (0xff6a6a6a), juce::Colour (0xff262626));

    g.setColour (colours::capText);
    g.drawLine ({ centre, centre + juce::Point<float> (0.0f, -(radius - 5.0f)) }, 2.0f);
}

/** The badge under an encoder that marks it as a push switch. */
void drawPushBadge (Graphics& g, Rectangle<float> pushArea)
{
    const auto badge = Rectangle<float> (30.0f, 11.0f).withCentre ({ pushArea.getCentreX(), pushArea.getY() + 9.0f });
    g.setColour (colours::engraving);
    g.fillRoundedRectangle (badge, 3.0f);
    drawCaption (g, "PUSH", badge, colours::capText, 7.5f);
}

void drawFader (Graphics& g, Rectangle<float> faderArea, Rectangle<float> touchArea)
{
    const auto x = faderArea.getCentreX();
    const auto slot = Rectangle<float> (x - 2.0f, faderArea.getY() - 6.0f, 4.0f, faderArea.getHeight() + 6.0f);

    g.setColour (colours::engraving);
    for (auto y = slot.getY() + 2.0f; y < slot.getBottom(); y += 8.0f)
    {
        g.drawLine (x - 12.0f, y, x - 6.0f, y, 1.0f);
        g.drawLine (x + 6.0f, y, x + 12.0f, y, 1.0f);
    }

    g.setColour (juce::Colour (0xff262626));
    g.fillRoundedRectangle (slot, 2.0f);

    const auto cap = Rectangle<float> (faderArea.getWidth() - 4.0f, 36.0f).withCentre (faderArea.getCentre());
    drawCap (g, cap, juce::Colour (0xff505050), 3.0f);
    g.setColour (colours::capText);
    g.fillRect (cap.getX() + 2.0f, cap.getCentreY() - 1.0f, cap.getWidth() - 4.0f, 2.0f);

    // The touch pad of the fader, with its finger-print rings.
    const auto pad = Rectangle<float> (20.0f, 20.0f).withCentre (touchArea.getCentre());
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffc4c4c4), pad.getX(), pad.getY(),
                                             juce::Colour (0xff5e5e5e), pad.getRight(), pad.getBottom(), false));
    g.fillEllipse (pad);
    g.setColour (juce::Colour (0xff6b6b6b));
    g.drawEllipse (pad, 1.0f);
    g.drawEllipse (pad.reduced (4.0f), 1.0f);
    g.fillEllipse (pad.reduced (8.0f));
}

void drawPlate (Graphics& g, Rectangle<float> area, Colour fill)
{
    g.setColour (fill);
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (colours::plateEdge);
    g.drawRoundedRectangle (area.reduced (0.5f), 6.0f, 1.0f);
}

void drawLed (Graphics& g, juce::Point<float> centre, const juce::String& caption)
{
    g.setColour (colours::ledOn);
    g.fillEllipse (Rectangle<float> (7.0f, 7.0f).withCentre (centre));
    g.setColour (colours::capEdge);
    g.drawEllipse (Rectangle<float> (7.0f, 7.0f).withCentre (centre), 1.0f);
    drawCaption (g, caption, { centre.x + 6.0f, centre.y - 6.0f, 30.0f, 12.0f }, colours::engraving, 8.0f);
}

//==============================================================================
/** The display that shows the encoders' assignments, across the eight strips. */
void drawDisplay (Graphics& g)
{
    const auto glass = Rectangle<float> (25.0f, 109.0f, 746.0f, 24.0f);
    g.setColour (colours::lcdFrame);
    g.fillRoundedRectangle (glass.expanded (2.0f), 4.0f);
    g.setGradientFill (juce::ColourGradient::vertical (colours::lcdGlass.brighter (0.1f), glass.getY(),
                                                       colours::lcdGlass.darker (0.05f), glass.getBottom()));
    g.fillRoundedRectangle (glass, 3.0f);

    g.setColour (colours::lcdFrame.withAlpha (0.5f));
    for (int strip = 1; strip < 8; ++strip)
    {
        const auto x = 22.0f + (float) (stripPitch * strip);
        g.drawLine (x, glass.getY() + 3.0f, x, glass.getBottom() - 3.0f, 1.0f);
    }
}

void drawChannelStrip (Graphics& g, int strip)
{
    drawKnob (g, inMixer (strip, 27, 71, 53, 32));
    drawPushBadge (g, inMixer (strip, 28, 102, 50, 21));

    drawSquareButton (g, inMixer (strip, 76, 216, 33, 34), colours::ledSel, "SEL");
    drawSquareButton (g, inMixer (strip, 76, 260, 33, 34), colours::ledMute, "MUTE");
    drawSquareButton (g, inMixer (strip, 76, 305, 33, 34), colours::ledSolo, "SOLO");

    const auto rec = inMixer (strip, 80, 350, 26, 26);
    drawRoundButton (g, rec, colours::recCap);
    g.setColour (colours::capText);
    g.fillEllipse (Rectangle<float> (6.0f, 6.0f).withCentre (rec.getCentre()));

    drawFader (g, inMixer (strip, 38, 253, 29, 59), inMixer (strip, 38, 311, 29, 33));
}

//==============================================================================
// Symbols on the transport and bank buttons, drawn in a box of about 14 x 10.
using SymbolPainter = void (*) (Graphics&, Rectangle<float>);

juce::Path triangle (Rectangle<float> box, bool pointsRight)
{
    juce::Path p;
    if (pointsRight)
        p.addTriangle (box.getTopLeft(), box.getBottomLeft(), { box.getRight(), box.getCentreY() });
    else
        p.addTriangle (box.getTopRight(), box.getBottomRight(), { box.getX(), box.getCentreY() });
    return p;
}

void drawTriangles (Graphics& g, Rectangle<float> box, bool pointsRight, int count, bool withBar)
{
    auto area = box;
    if (withBar)
    {
        const auto bar = pointsRight ? area.removeFromRight (2.0f) : area.removeFromLeft (2.0f);
        g.fillRect (bar);
        pointsRight ? area.removeFromRight (1.0f) : area.removeFromLeft (1.0f);
    }

    const auto w = area.getWidth() / (float) count;
    for (int i = 0; i < count; ++i)
        g.fillPath (triangle (area.removeFromLeft (w), pointsRight));
}

void symbolChannelLeft (Graphics& g, Rectangle<float> b)  { drawTriangles (g, b.reduced (3.0f, 0.0f), false, 1, true); }
void symbolChannelRight (Graphics& g, Rectangle<float> b) { drawTriangles (g, b.reduced (3.0f, 0.0f), true, 1, true); }
void symbolBankLeft (Graphics& g, Rectangle<float> b)     { drawTriangles (g, b, false, 2, true); }
void symbolBankRight (Graphics& g, Rectangle<float> b)    { drawTriangles (g, b, true, 2, true); }
void symbolRewind (Graphics& g, Rectangle<float> b)       { drawTriangles (g, b, false, 2, false); }
void symbolForward (Graphics& g, Rectangle<float> b)      { drawTriangles (g, b, true, 2, false); }
void symbolPlay (Graphics& g, Rectangle<float> b)         { drawTriangles (g, b.reduced (3.0f, 0.0f), true, 1, false); }
void symbolStop (Graphics& g, Rectangle<float> b)         { g.fillRect (Rectangle<float> (9.0f, 9.0f).withCentre (b.getCentre())); }

void symbolRecord (Graphics& g, Rectangle<float> b)
{
    g.setColour (colours::ledMute);
    g.fillEllipse (Rectangle<float> (10.0f, 10.0f).withCentre (b.getCentre()));
}

void symbolLoop (Graphics& g, Rectangle<float> b)
{
    const auto ring = Rectangle<float> (12.0f, 10.0f).withCentre (b.getCentre());
    juce::Path arc;
    arc.addCentredArc (ring.getCentreX(), ring.getCentreY(), ring.getWidth() / 2.0f, ring.getHeight() / 2.0f,
                       0.0f, 0.6f, juce::MathConstants<float>::twoPi - 0.2f, true);
    g.strokePath (arc, juce::PathStrokeType (1.8f));
    g.fillPath (triangle (Rectangle<float> (5.0f, 6.0f).withCentre ({ ring.getCentreX() + 1.0f, ring.getY() }), true));
}

void symbolMagnifier (Graphics& g, Rectangle<float> b, bool zoomsIn)
{
    const auto lens = Rectangle<float> (9.0f, 9.0f).withCentre (b.getCentre().translated (-1.5f, -1.5f));
    g.drawEllipse (lens, 1.6f);
    g.drawLine (lens.getRight() - 1.5f, lens.getBottom() - 1.5f, lens.getRight() + 3.0f, lens.getBottom() + 3.0f, 2.2f);

    const auto c = lens.getCentre();
    g.drawLine (c.x - 2.5f, c.y, c.x + 2.5f, c.y, 1.2f);

    if (zoomsIn)
        g.drawLine (c.x, c.y - 2.5f, c.x, c.y + 2.5f, 1.2f);
}

void drawPadlock (Graphics& g, Rectangle<float> b)
{
    const auto body = Rectangle<float> (10.0f, 7.0f).withCentre (b.getCentre().translated (0.0f, 2.0f));
    g.fillRoundedRectangle (body, 1.0f);
    juce::Path shackle;
    shackle.addCentredArc (body.getCentreX(), body.getY(), 3.0f, 3.5f, 0.0f,
                           -juce::MathConstants<float>::halfPi, juce::MathConstants<float>::halfPi, true);
    g.strokePath (shackle, juce::PathStrokeType (1.5f));
}

//==============================================================================
void drawJogWheel (Graphics& g, Rectangle<float> leftHalf, Rectangle<float> rightHalf)
{
    const auto halves = leftHalf.getUnion (rightHalf);
    const auto centre = halves.getCentre();

    drawRidgedDisc (g, centre, halves.getHeight() / 2.0f, 5.0f, 48, juce::Colour (0xff151515), juce::Colour (0xff3c3c3c),
                    juce::Colour (0xff4a4a4a), juce::Colour (0xff1e1e1e));

    const auto dimple = Rectangle<float> (9.0f, 9.0f).withCentre (centre + juce::Point<float> (12.0f, -13.0f));
    g.setColour (juce::Colour (0xff141414));
    g.fillEllipse (dimple);
    g.setColour (juce::Colour (0xff5a5a5a));
    g.drawEllipse (dimple, 1.0f);
}

void drawMasterSection (Graphics& g)
{
    drawPlate (g, { 777.0f, 74.0f, 205.0f, 388.0f }, colours::masterPlate);
    drawCaption (g, "MASTER", { 782.0f, 82.0f, 84.0f, 12.0f }, colours::engraving, 9.0f);

    // Master strip.
    drawFader (g, inControl (4, 295, 29, 59), inControl (4, 353, 29, 33));
    drawSquareButton (g, inControl (42, 258, 33, 34), colours::ledSel, "SEL");
    drawSquareButton (g, inControl (42, 302, 33, 34), colours::ledMute, "MUTE");
    drawSquareButton (g, inControl (42, 347, 33, 34), colours::ledSolo, "SOLO");

    const auto lock = inControl (46, 392, 26, 26);
    drawRoundButton (g, lock, colours::capDark);
    g.setColour (colours::capText);
    drawPadlock (g, lock);

    // Channel, bank and transport buttons: two columns, five rows.
    struct TransportButton { int x, y; SymbolPainter symbol; };
    const TransportButton transport[] = {
        {  97,  67, symbolChannelLeft }, { 147,  67, symbolChannelRight },
        {  97, 113, symbolBankLeft },    { 147, 113, symbolBankRight },
        {  97, 159, symbolRewind },      { 147, 159, symbolForward },
        {  97, 205, symbolPlay },        { 147, 205, symbolStop },
        {  97, 250, symbolRecord },      { 147, 250, symbolLoop },
    };

    for (const auto& button : transport)
    {
        const auto area = inControl (button.x, button.y, 33, 34);
        const auto cap = area.reduced (3.0f, 2.0f);
        drawCap (g, cap, colours::capDark, 3.0f);
        g.setColour (colours::capText);
        button.symbol (g, Rectangle<float> (14.0f, 10.0f).withCentre (cap.getCentre()));
    }

    // Zoom buttons, jog wheel and scrub key.
    const auto zoom1 = inControl (101, 299, 26, 26);
    const auto zoom2 = inControl (150, 299, 26, 26);
    drawRoundButton (g, zoom1, colours::capDark);
    drawRoundButton (g, zoom2, colours::capDark);
    g.setColour (colours::capText);
    symbolMagnifier (g, zoom1, false);
    symbolMagnifier (g, zoom2, true);

    drawJogWheel (g, inControl (94, 332, 47, 59), inControl (140, 332, 47, 59));

    const auto scrub = inControl (96, 390, 88, 33).reduced (2.0f, 3.0f);
    drawCap (g, scrub, juce::Colour (0xff2c2c2c), scrub.getHeight() / 2.0f);
}

juce::Image drawBackground (bool extender)
{
    juce::Image image (juce::Image::ARGB, 1000, 600, true);
    Graphics g (image);

    for (int strip = 1; strip <= 8; ++strip)
        drawPlate (g, inMixer (strip, 25, 10, 88, 388), colours::plate);

    drawDisplay (g);

    for (int strip = 1; strip <= 8; ++strip)
        drawChannelStrip (g, strip);

    if (extender)
    {
        drawLed (g, { 722.0f, 44.0f }, "LINK");
    }
    else
    {
        drawMasterSection (g);
        drawLed (g, { 930.0f, 44.0f }, "USB");
    }

    return image;
}

//==============================================================================
juce::Image drawLogo()
{
    juce::Image image (juce::Image::ARGB, 156, 50, true);
    Graphics g (image);

    const auto badge = Rectangle<float> (2.0f, 2.0f, 46.0f, 46.0f);
    g.setColour (colours::accent);
    g.fillRoundedRectangle (badge, 10.0f);

    juce::Path zed;
    zed.startNewSubPath (13.0f, 13.0f);
    zed.lineTo (37.0f, 13.0f);
    zed.lineTo (13.0f, 37.0f);
    zed.lineTo (37.0f, 37.0f);
    g.setColour (juce::Colours::white);
    g.strokePath (zed, juce::PathStrokeType (6.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::square));

    g.setColour (colours::ink);
    g.setFont (font (40.0f, true));
    g.drawText ("zuvo", Rectangle<float> (53.0f, -3.0f, 103.0f, 40.0f), juce::Justification::centredLeft, false);

    g.setFont (font (12.0f, true).withExtraKerningFactor (0.45f));
    g.drawText ("AUDIO", Rectangle<float> (56.0f, 34.0f, 100.0f, 14.0f), juce::Justification::centredLeft, false);

    return image;
}

juce::Image drawProductPicture (const juce::String& name, const juce::String& kind)
{
    juce::Image image (juce::Image::ARGB, 430, 40, true);
    Graphics g (image);

    g.setColour (colours::ink);
    g.setFont (font (26.0f, true));
    g.drawText (name, Rectangle<float> (0.0f, 0.0f, 430.0f, 29.0f), juce::Justification::centred, false);

    g.setColour (colours::accent);
    g.fillRect (150.0f, 29.0f, 130.0f, 1.5f);

    g.setColour (colours::engraving);
    g.setFont (font (9.0f).withExtraKerningFactor (0.25f));
    g.drawText (kind, Rectangle<float> (0.0f, 30.0f, 430.0f, 10.0f), juce::Justification::centred, false);

    return image;
}

/** CRC-32 of a PNG chunk's type and data (ISO 3309, as PNG defines it). */
juce::uint32 chunkCrc (const juce::MemoryBlock& typeAndData)
{
    juce::uint32 crc = 0xffffffff;

    for (size_t i = 0; i < typeAndData.getSize(); ++i)
    {
        crc ^= (juce::uint8) typeAndData[i];

        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xedb88320u : 0u);
    }

    return crc ^ 0xffffffff;
}

void writeChunk (juce::OutputStream& out, const char* type, const juce::MemoryBlock& data)
{
    juce::MemoryBlock typeAndData (type, 4);
    typeAndData.append (data.getData(), data.getSize());

    out.writeIntBigEndian ((int) data.getSize());
    out.write (typeAndData.getData(), typeAndData.getSize());
    out.writeIntBigEndian ((int) chunkCrc (typeAndData));
}

/** Writes the image as an 8-bit RGBA PNG whose rows are stored unfiltered in
    one zlib stream, the form the editor inflates straight into its pixels. */
bool writePng (const juce::Image& image, const juce::File& file)
{
    juce::MemoryOutputStream header;
    header.writeIntBigEndian (image.getWidth());
    header.writeIntBigEndian (image.getHeight());
    for (const juce::uint8 field : { 8, 6, 0, 0, 0 }) // bit depth, RGBA, deflate, filtering, no interlace
        header.writeByte ((char) field);

    juce::MemoryOutputStream rows;
    {
        juce::GZIPCompressorOutputStream compressed (rows, 9);
        const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);

        for (int y = 0; y < image.getHeight(); ++y)
        {
            compressed.writeByte (0); // filter type None

            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto colour = pixels.getPixelColour (x, y);
                for (const auto component : { colour.getRed(), colour.getGreen(), colour.getBlue(), colour.getAlpha() })
                    compressed.writeByte ((char) component);
            }
        }
    }

    file.deleteFile();
    juce::FileOutputStream out (file);

    if (! out.openedOk())
        return false;

    const juce::uint8 signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    out.write (signature, sizeof (signature));
    writeChunk (out, "IHDR", header.getMemoryBlock());
    writeChunk (out, "IDAT", rows.getMemoryBlock());
    writeChunk (out, "IEND", {});
    out.flush();
    return out.getStatus().wasOk();
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    if (! folder.createDirectory())
        return 1;

    // The fonts must be the named ones: a substitute would change the pictures.
    if (! juce::Font::findAllTypefaceNames().contains (fontName))
    {
        std::fprintf (stderr, "DrawArtwork: font \"%s\" not installed\n", fontName.toRawUTF8());
        return 1;
    }

    const std::pair<const char*, juce::Image> pictures[] = {
        { "ZuvoLogo.png", drawLogo() },
        { "vtm_p.png",    drawProductPicture ("Vantor M+", "DAW CONTROLLER") },
        { "vtx_p.png",    drawProductPicture ("Vantor X+", "EXTENDER") },
        { "bg.png",       drawBackground (false) },
        { "bgex.png",     drawBackground (true) },
    };

    auto ok = true;
    for (const auto& [fileName, image] : pictures)
        ok = writePng (image, folder.getChildFile (fileName)) && ok;

    juce::DeletedAtShutdown::deleteAll();
    return ok ? 0 : 1;
}
