#pragma once

#include <optional>

namespace tarn
{

/** Bending one segment of a controller curve: the segment that ends at a point, dragged
    with the command key (CMD, or ALT) held.

    The first movement of more than 2 pixels decides the segment's shape: mainly vertical
    gives the quadratic curve, mainly horizontal the S-curve. From then on the point's curve
    follows the drag distance divided by 300 pixels (vertical for the quadratic, horizontal
    for the S-curve), from the value it had when the drag began, limited to 0 … 1. Dragging
    up bends the segment upwards whether it rises or falls. [message thread]
*/
class CurveBend
{
public:
    static constexpr double decisionDistance = 2.0;
    static constexpr double pixelsPerFullBend = 300.0;

    struct Bend
    {
        int shape = 0;
        float curve = 0.5f;

        bool operator== (const Bend& other) const noexcept { return shape == other.shape && curve == other.curve; }
    };

    /** `curveAtStart` is the point's curve when the drag began; `segmentRises` says whether
        the point's value is above the value before it. */
    CurveBend (float curveAtStart, bool segmentRises) noexcept;

    /** The bend for a pointer `dx`, `dy` pixels from where the drag began (y grows downwards),
        or nothing while the shape is not decided yet. */
    std::optional<Bend> update (double dx, double dy) noexcept;

    /** The shape chosen by the first decisive movement, or nothing yet. */
    std::optional<int> getShape() const noexcept { return shape; }

private:
    float curveAtStart;
    bool segmentRises;
    std::optional<int> shape;
};

} // namespace tarn
