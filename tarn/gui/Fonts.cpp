#include "Fonts.h"

#include <TarnBinary.h>

#include <map>
#include <mutex>

namespace tarn
{
namespace
{
    /** A typeface whose ascent and descent are moved, keeping its glyphs and their sizes:
        text sits higher or lower in the boxes that centre it. */
    class DescentOverrideTypeface final : public juce::Typeface
    {
    public:
        DescentOverrideTypeface (juce::Typeface::Ptr typeface, float descentProportion)
            : juce::Typeface (typeface->getName(), typeface->getStyle()),
              base (std::move (typeface)),
              descent (descentProportion)
        {
        }

        float getAscent() const override { return 1.0f - descent; }
        float getDescent() const override { return descent; }
        float getHeightToPointsFactor() const override { return base->getHeightToPointsFactor(); }
        float getStringWidth (const juce::String& text) override { return base->getStringWidth (text); }

        void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs, juce::Array<float>& xOffsets) override
        {
            base->getGlyphPositions (text, glyphs, xOffsets);
        }

        bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override { return base->getOutlineForGlyph (glyphNumber, path); }

        juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform, float fontHeight) override
        {
            return base->getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
        }

        bool isHinted() const override { return base->isHinted(); }

    private:
        const juce::Typeface::Ptr base;
        const float descent;
    };

    struct TypefaceStore
    {
        std::mutex lock;
        juce::Typeface::Ptr nunito, urbanist;
        std::map<std::pair<juce::Typeface*, int>, juce::Typeface::Ptr> withDescent;

        juce::Typeface::Ptr find (const juce::String& name, const juce::String& style)
        {
            const std::lock_guard<std::mutex> guard (lock);

            if (name == "Nunito" && style == "SemiBold")
                return load (nunito, TarnBinary::NunitoSemiBold_ttf, TarnBinary::NunitoSemiBold_ttfSize);

            if (name == "Urbanist" && style == "Medium")
                return load (urbanist, TarnBinary::UrbanistMedium_ttf, TarnBinary::UrbanistMedium_ttfSize);

            return {};
        }

        juce::Typeface::Ptr withDescentOverride (juce::Typeface::Ptr typeface, float descent)
        {
            const std::lock_guard<std::mutex> guard (lock);
            const auto key = std::make_pair (typeface.get(), juce::roundToInt (descent * 10000.0f));
            auto& entry = withDescent[key];

            if (entry == nullptr)
                entry = new DescentOverrideTypeface (typeface, descent);

            return entry;
        }

    private:
        static juce::Typeface::Ptr load (juce::Typeface::Ptr& slot, const char* data, int size)
        {
            if (slot == nullptr)
                slot = juce::Typeface::createSystemTypefaceFor (data, (size_t) size);

            return slot;
        }
    };

    TypefaceStore& getStore()
    {
        static TypefaceStore store;
        return store;
    }
} // namespace

juce::Typeface::Ptr Fonts::findEmbeddedTypeface (const juce::String& name, const juce::String& style)
{
    return getStore().find (name, style);
}

juce::Font Fonts::make (const juce::String& name, const juce::String& style, float height,
                        float extraKerning, float descentOverride)
{
    auto typeface = findEmbeddedTypeface (name, style);

    if (descentOverride >= 0.0f && descentOverride <= 1.0f)
    {
        if (typeface == nullptr)
            typeface = juce::Font (name, style, height).getTypefacePtr();

        if (typeface != nullptr)
            typeface = getStore().withDescentOverride (typeface, descentOverride);
    }

    juce::Font font = typeface != nullptr ? juce::Font (typeface) : juce::Font (name, style, height);
    font.setHeight (height);
    font.setExtraKerningFactor (extraKerning);
    return font;
}

} // namespace tarn
